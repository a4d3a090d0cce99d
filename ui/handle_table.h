// A map from window handles (and similar keys) to values, as the toolkit's
// process-wide tables keep them: open addressing with linear probing, 997
// entries made on the first insertion, and growth to the first k*k + k + 41
// above twice the capacity when a probe finds no free entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ui {

class HandleTable {
 public:
  struct Entry {
    uintptr_t key = 0;  // 0: free
    uintptr_t value = 0;
    uint32_t extra = 0;
  };

  // Stores or replaces the key's entry; key 0 is never stored.
  bool insert(uintptr_t key, uintptr_t value, uint32_t extra = 0);
  // The key's entry, or null.
  const Entry* find(uintptr_t key) const;
  uintptr_t value(uintptr_t key) const {
    const Entry* e = find(key);
    return e ? e->value : 0;
  }
  // Removes the key's entry, moving later entries of its probe run back so
  // that every remaining key stays reachable.
  bool remove(uintptr_t key);
  // Removes every entry holding `value`.
  void remove_value(uintptr_t value);

  size_t size() const { return size_; }
  size_t capacity() const { return entries_.size(); }

 private:
  size_t start_slot(uintptr_t key) const { return size_t(key % entries_.size()); }
  // The slot holding `key`, or of the first free entry of its probe run;
  // capacity() when the run comes back to its start.
  size_t probe(uintptr_t key) const;
  void grow();

  std::vector<Entry> entries_;
  size_t size_ = 0;
};

// The first k*k + k + 41 (k = 1, 2, ...) above twice `capacity`.
size_t next_table_capacity(size_t capacity);

}  // namespace ui
