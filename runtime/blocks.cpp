#include "runtime/blocks.h"

#include <cstring>

#include "runtime/errors.h"
#include "runtime/heap.h"

namespace {

int32_t read_int32(const void* p) {
  int32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void write_int32(void* p, int32_t v) { std::memcpy(p, &v, sizeof v); }

size_t element_count(std::span<const int32_t> sizes) {
  size_t count = 1;
  for (int32_t s : sizes) count *= size_t(s < 0 ? 0 : s);
  return count;
}

}  // namespace

void* rt_byte_set_make(const void* data, size_t n) {
  if (n == 0) return nullptr;
  auto* block = static_cast<uint8_t*>(rt_alloc(8 + n));
  write_int32(block, 1);
  write_int32(block + 4, int32_t(n));
  if (data) std::memcpy(block + 8, data, n);
  return block;
}

size_t rt_byte_set_size(const void* bytes) {
  if (!bytes) return 0;
  int32_t n = read_int32(static_cast<const uint8_t*>(bytes) + 4);
  return n > 0 ? size_t(n) : 0;
}

const uint8_t* rt_byte_set_data(const void* bytes) {
  return bytes ? static_cast<const uint8_t*>(bytes) + 8 : nullptr;
}

void* rt_array_new(std::span<const int32_t> sizes, int width) {
  size_t header = 4 + 4 * sizes.size();
  auto* block = static_cast<uint8_t*>(rt_alloc(header + element_count(sizes) * size_t(width)));
  write_int32(block, int32_t(sizes.size()));
  for (size_t i = 0; i < sizes.size(); ++i) write_int32(block + 4 + 4 * i, sizes[i]);
  return block;
}

int32_t rt_array_dimensions(const void* array) { return array ? read_int32(array) : 0; }

int32_t rt_array_dimension_size(const void* array, int dimension) {
  if (dimension < 1 || dimension > rt_array_dimensions(array)) return 0;
  return read_int32(static_cast<const uint8_t*>(array) + 4 * dimension);
}

size_t rt_array_count(const void* array) {
  int32_t k = rt_array_dimensions(array);
  if (k <= 0) return 0;
  return element_count(
      {reinterpret_cast<const int32_t*>(static_cast<const uint8_t*>(array) + 4), size_t(k)});
}

size_t rt_array_header_size(const void* array) {
  int32_t k = rt_array_dimensions(array);
  return 4 + 4 * size_t(k < 0 ? 0 : k);
}

uint8_t* rt_array_data(void* array) {
  return static_cast<uint8_t*>(array) + rt_array_header_size(array);
}

const uint8_t* rt_array_data(const void* array) {
  return static_cast<const uint8_t*>(array) + rt_array_header_size(array);
}

uint8_t* rt_array_at(void* array, int subscript, int width) {
  if (subscript - 1 < 0) rt_raise(4);
  if (size_t(subscript - 1) >= rt_array_count(array)) rt_raise(1);
  return rt_array_data(array) + size_t(subscript - 1) * size_t(width);
}

void* rt_array_pointer_at(const void* array, size_t index) {
  void* p;
  std::memcpy(&p, rt_array_data(array) + index * sizeof(void*), sizeof p);
  return p;
}

void rt_array_set_pointer(void* array, size_t index, void* value) {
  std::memcpy(rt_array_data(array) + index * sizeof(void*), &value, sizeof value);
}

void rt_array_free(void* array, bool owns_blocks) {
  if (!rt_is_heap_block(array)) return;
  if (owns_blocks) {
    size_t n = rt_array_count(array);
    for (size_t i = 0; i < n; ++i) rt_free(rt_array_pointer_at(array, i));
  }
  rt_free(array);
}

void rt_array_redim(void** variable, std::span<const int32_t> sizes, int width, bool owns_blocks) {
  for (int32_t s : sizes)
    if (s < 0 || (s == 0 && sizes.size() > 1)) rt_raise(10);
  void* fresh = rt_array_new(sizes, width);
  rt_array_free(*variable, owns_blocks);
  *variable = fresh;
}

void rt_own_array(int width, void** variable) {
  void* array = *variable;
  if (rt_is_heap_block(array)) return;
  if (!array) {
    const int32_t empty[] = {0};
    *variable = rt_array_new(empty, width);
    return;
  }
  size_t size = rt_array_header_size(array) + rt_array_count(array) * size_t(width);
  void* copy = rt_alloc(size);
  std::memcpy(copy, array, size);
  *variable = copy;
}
