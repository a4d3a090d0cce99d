#include "runtime/heap.h"

#include <atomic>
#include <thread>
#include <unordered_map>

#include "runtime/errors.h"
#include "runtime/message_box.h"
#include "runtime/platform.h"

namespace {

// Every block handed out and not yet released. rt_free consults it so that
// a constant, a foreign pointer or a second release never reaches the
// platform heap (a stale pointer whose address was handed out again is
// indistinguishable from the new block's).
// Maps each to the size it was asked for.
std::unordered_map<const void*, size_t>& live_blocks() {
  static auto* blocks = new std::unordered_map<const void*, size_t>();
  return *blocks;
}

int failures_to_inject = 0;

// The heap and its registry belong to the thread that first used them
// (the window's); calls from any other are counted, for the tests.
std::atomic<int> calls_from_other_threads{0};

void note_thread() {
  static const std::thread::id owner = std::this_thread::get_id();
  if (std::this_thread::get_id() != owner) ++calls_from_other_threads;
}

bool inject_failure() {
  if (failures_to_inject <= 0) return false;
  --failures_to_inject;
  return true;
}

// The platform heap may refuse a zero-byte request; every block has room
// for at least one byte.
size_t at_least_one(size_t size) { return size == 0 ? 1 : size; }

}  // namespace

void* rt_alloc(size_t size) {
  note_thread();
  void* block = inject_failure() ? nullptr : platform_heap_alloc_zeroed(at_least_one(size));
  if (!block) rt_out_of_memory();
  live_blocks()[block] = size;
  return block;
}

void* rt_realloc(void* block, size_t size) {
  note_thread();
  if (!block || !rt_is_heap_block(block)) {
    void* fresh = inject_failure() ? nullptr : platform_heap_alloc_zeroed(at_least_one(size));
    if (fresh) live_blocks()[fresh] = size;
    return fresh;
  }
  void* moved = inject_failure() ? nullptr : platform_heap_realloc(block, at_least_one(size));
  if (!moved) return nullptr;
  live_blocks().erase(block);
  live_blocks()[moved] = size;
  return moved;
}

void rt_free(void* block) {
  note_thread();
  if (!rt_is_heap_block(block)) return;
  live_blocks().erase(block);
  platform_heap_free(block);
}

bool rt_is_heap_block(const void* p) {
  if (reinterpret_cast<uintptr_t>(p) < 0x10000) return false;
  return live_blocks().count(p) != 0;
}

void rt_out_of_memory() {
  rt_message_box("内存不足", "error", RT_MB_ICONERROR);
  rt_exit(0);
}

size_t rt_heap_block_size(const void* block) {
  auto found = live_blocks().find(block);
  return found == live_blocks().end() ? 0 : found->second;
}

void rt_heap_fail_next(int count) { failures_to_inject = count; }

size_t rt_heap_live_blocks() { return live_blocks().size(); }

int rt_heap_calls_from_other_threads() { return calls_from_other_threads; }
