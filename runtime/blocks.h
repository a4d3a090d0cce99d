// Byte-set and array blocks.
//
// Byte set: int32 1, int32 n, then the n bytes (a one-dimensional byte
// array). Array: int32 k, k int32 dimension sizes, then the elements. The
// empty byte set is null; an empty one-dimensional array has k = 1, size 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Byte sets.
void* rt_byte_set_make(const void* data, size_t n);  // n == 0 gives null
size_t rt_byte_set_size(const void* bytes);          // null gives 0
const uint8_t* rt_byte_set_data(const void* bytes);

// Arrays. Element widths come from rt_type_width; text and byte-set
// elements are blocks that the array owns.
void* rt_array_new(std::span<const int32_t> sizes, int width);  // zero-filled
int32_t rt_array_dimensions(const void* array);
int32_t rt_array_dimension_size(const void* array, int dimension);  // 1-based
size_t rt_array_count(const void* array);
size_t rt_array_header_size(const void* array);
uint8_t* rt_array_data(void* array);
const uint8_t* rt_array_data(const void* array);

// Address of element `subscript` (1-based, over all elements): error 4 when
// it is below 1, error 1 when it is past the end.
uint8_t* rt_array_at(void* array, int subscript, int width);

// Releases the array and, for text or byte-set elements, each element.
void rt_array_free(void* array, bool owns_blocks);

// Replaces the variable's array by a new zero-filled one of these sizes:
// error 10 for a negative size, or a zero size when there is more than one
// dimension.
void rt_array_redim(void** variable, std::span<const int32_t> sizes, int width, bool owns_blocks);

// Makes sure the variable's array is a heap block that may be changed: an
// array the heap did not hand out (a constant) is copied first.
void rt_own_array(int width, void** variable);

// Pointer-sized element reads and writes; elements need not be aligned.
void* rt_array_pointer_at(const void* array, size_t index);
void rt_array_set_pointer(void* array, size_t index, void* value);
