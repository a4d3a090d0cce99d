#include "runtime/bytes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "runtime/blocks.h"
#include "runtime/errors.h"
#include "runtime/heap.h"
#include "runtime/platform.h"
#include "runtime/text.h"

namespace rt {

Bytes& Bytes::operator=(Bytes&& other) noexcept {
  if (this != &other) {
    rt_free(block_);
    block_ = std::exchange(other.block_, nullptr);
  }
  return *this;
}

Bytes::~Bytes() { rt_free(block_); }

Bytes Bytes::adopt(void* block) {
  Bytes b;
  b.block_ = block;
  return b;
}

Bytes Bytes::copy_of(std::string_view bytes) {
  return adopt(rt_byte_set_make(bytes.data(), bytes.size()));
}

size_t Bytes::size() const { return rt_byte_set_size(block_); }

std::string_view Bytes::view() const {
  return {reinterpret_cast<const char*>(rt_byte_set_data(block_)), size()};
}

Bytes zero_bytes(int n) {
  return Bytes::adopt(n > 0 ? rt_byte_set_make(nullptr, size_t(n)) : nullptr);
}

Bytes bytes_left(const void* bytes, int n) {
  if (n <= 0) return {};
  return Bytes::adopt(
      rt_byte_set_make(rt_byte_set_data(bytes), std::min(size_t(n), rt_byte_set_size(bytes))));
}

Bytes bytes_from_memory(const void* address, int length) {
  if (length <= 0 || !address) return {};
  std::vector<uint8_t> copy(static_cast<size_t>(length));
  if (!platform_read_memory(address, copy.data(), copy.size())) return {};
  return Bytes::adopt(rt_byte_set_make(copy.data(), copy.size()));
}

namespace {

struct ReadKind {
  uint32_t type;
  int width;  // 0: a text up to its zero byte
};

ReadKind read_kind(int type_code) {
  switch (type_code) {
    case 1: return {RT_BYTE, 1};
    case 2: return {RT_SHORT, 2};
    case 3: return {RT_INT, 4};
    case 4: return {RT_INT64, 8};
    case 5: return {RT_FLOAT, 4};
    case 6: return {RT_DOUBLE, 8};
    case 7: return {RT_BOOL, 4};
    case 8: return {RT_DATETIME, 8};
    case 9: return {RT_SUBROUTINE, int(sizeof(void*))};
    case 10: return {RT_TEXT, 0};
    default: rt_raise(100);
  }
}

}  // namespace

RtArg bytes_read(const void* bytes, int type_code, int position, int* next) {
  ReadKind kind = read_kind(type_code);
  size_t size = rt_byte_set_size(bytes);
  const uint8_t* data = rt_byte_set_data(bytes);
  RtArg result{0, 0, kind.type};
  if (position < 1 || size_t(position) > size) {
    if (next) *next = -1;
    return result;
  }
  size_t at = size_t(position - 1), available = size - at;
  size_t consumed;
  if (kind.width == 0) {
    auto* zero = static_cast<const uint8_t*>(std::memchr(data + at, 0, available));
    size_t length = zero ? size_t(zero - (data + at)) : available;
    result =
        rt_pointer_arg(rt_text_make({reinterpret_cast<const char*>(data + at), length}), RT_TEXT);
    consumed = length + 1;
  } else {
    uint64_t bits = 0;
    std::memcpy(&bits, data + at, std::min(size_t(kind.width), available));
    result = rt_64bit_arg(bits, kind.type);
    consumed = size_t(kind.width);
  }
  if (next) *next = consumed > available ? -1 : position + int(consumed);
  return result;
}

void write_memory(const RtArg& value, void* destination, std::optional<int> limit) {
  if (!destination) return;
  uint32_t type = rt_base_type(value.type);
  const void* source = nullptr;
  size_t size = 0;
  uint64_t raw = rt_arg_bits64(value);
  if (rt_is_ref(value.type)) {
    const void* array = rt_arg_pointer(value);
    if (type == RT_BYTE && array) {
      source = rt_array_data(array);
      size = rt_array_count(array);
    }
  } else if (type == RT_TEXT) {
    std::string_view text = rt_text_view(static_cast<const char*>(rt_arg_pointer(value)));
    source = text.data();
    size = text.empty() ? 0 : text.size() + 1;
  } else if (type == RT_BYTES) {
    source = rt_byte_set_data(rt_arg_pointer(value));
    size = rt_byte_set_size(rt_arg_pointer(value));
  } else if (int width = rt_type_width(type); width > 0) {
    source = &raw;
    size = size_t(width);
  }
  if (limit && *limit > 0 && size_t(*limit) < size) size = size_t(*limit);
  if (source && size > 0) std::memcpy(destination, source, size);
}

int32_t bit_or(std::span<const int32_t> values) {
  int32_t r = 0;
  for (int32_t v : values) r |= v;
  return r;
}

int32_t bit_and(std::span<const int32_t> values) {
  if (values.empty()) return 0;
  int32_t r = -1;
  for (int32_t v : values) r &= v;
  return r;
}

int32_t bit_not(int32_t value) { return ~value; }

int32_t shift_right(int32_t value, int count) { return value >> (unsigned(count) & 31u); }

int32_t make_long(int32_t low, int32_t high) {
  return int32_t((uint32_t(high) & 0xFFFFu) << 16 | (uint32_t(low) & 0xFFFFu));
}

double abs(double value) { return std::fabs(value); }

double remainder(std::span<const double> values) {
  if (values.empty()) return 0;
  double r = values[0];
  for (size_t i = 1; i < values.size(); ++i) r = std::fmod(r, values[i]);
  return r;
}

}  // namespace rt
