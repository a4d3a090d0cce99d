#include "ui/handle_table.h"

namespace ui {

namespace {
constexpr size_t kFirstCapacity = 997;
}

size_t next_table_capacity(size_t capacity) {
  for (size_t k = 1;; ++k) {
    size_t candidate = k * k + k + 41;
    if (candidate > 2 * capacity) return candidate;
  }
}

size_t HandleTable::probe(uintptr_t key) const {
  size_t start = start_slot(key);
  size_t i = start;
  do {
    if (entries_[i].key == key || entries_[i].key == 0) return i;
    i = (i + 1) % entries_.size();
  } while (i != start);
  return entries_.size();
}

void HandleTable::grow() {
  std::vector<Entry> old = std::move(entries_);
  entries_.assign(next_table_capacity(old.size()), Entry{});
  size_ = 0;
  for (const Entry& e : old)
    if (e.key) insert(e.key, e.value, e.extra);
}

bool HandleTable::insert(uintptr_t key, uintptr_t value, uint32_t extra) {
  if (key == 0) return false;
  if (entries_.empty()) entries_.assign(kFirstCapacity, Entry{});
  size_t slot = probe(key);
  if (slot == entries_.size()) {
    grow();
    return insert(key, value, extra);
  }
  if (entries_[slot].key == 0) ++size_;
  entries_[slot] = Entry{key, value, extra};
  return true;
}

const HandleTable::Entry* HandleTable::find(uintptr_t key) const {
  if (key == 0 || entries_.empty()) return nullptr;
  size_t slot = probe(key);
  if (slot == entries_.size() || entries_[slot].key != key) return nullptr;
  return &entries_[slot];
}

bool HandleTable::remove(uintptr_t key) {
  if (!find(key)) return false;
  size_t n = entries_.size();
  size_t hole = probe(key);
  entries_[hole] = Entry{};
  --size_;
  // Backward-shift: an entry further along the run moves into the hole when
  // its start slot does not lie cyclically between the hole and itself.
  for (size_t i = (hole + 1) % n; entries_[i].key != 0; i = (i + 1) % n) {
    size_t home = start_slot(entries_[i].key);
    bool reachable_without_hole =
        hole < i ? (home > hole && home <= i) : (home > hole || home <= i);
    if (!reachable_without_hole) {
      entries_[hole] = entries_[i];
      entries_[i] = Entry{};
      hole = i;
    }
  }
  return true;
}

void HandleTable::remove_value(uintptr_t value) {
  std::vector<uintptr_t> keys;
  for (const Entry& e : entries_)
    if (e.key != 0 && e.value == value) keys.push_back(e.key);
  for (uintptr_t k : keys) remove(k);
}

}  // namespace ui
