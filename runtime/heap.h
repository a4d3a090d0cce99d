// The runtime heap: every text, byte set and array is a block from here.
#pragma once

#include <cstddef>

// Zero-filled block; out of memory shows "内存不足" and ends the program.
void* rt_alloc(size_t size);
// Resized block, contents kept; null input gives a zero-filled new block.
// Returns null when the heap refuses (the old block stays valid).
void* rt_realloc(void* block, size_t size);
// Releases a block this heap handed out; anything else (null, small
// integers, constants, foreign pointers, pointers into the middle of a
// block, a block already released) is ignored. A stale pointer is ignored
// only until the heap hands a block out at the same address again: then it
// is that block's address, and freeing it frees the new block.
void rt_free(void* block);
// True for the start of a live block of this heap.
bool rt_is_heap_block(const void* p);
// The "内存不足" box followed by the exit sequence.
[[noreturn]] void rt_out_of_memory();

// Test hook: the next `count` allocations from the platform heap fail.
void rt_heap_fail_next(int count);
// The size a live block was asked for; 0 for anything else.
size_t rt_heap_block_size(const void* block);
// Number of live blocks (for leak checks in tests).
size_t rt_heap_live_blocks();
// Calls to the heap from a thread other than the first that used it: the
// heap is not locked, so any is a race (for the tests).
int rt_heap_calls_from_other_threads();
