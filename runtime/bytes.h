// Byte sets, raw memory and bit operations (used by the window toolkit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "runtime/value.h"

namespace rt {

// An owned byte-set block (null for the empty byte set).
class Bytes {
 public:
  Bytes() = default;
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  Bytes(Bytes&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  Bytes& operator=(Bytes&& other) noexcept;
  ~Bytes();

  static Bytes adopt(void* block);
  static Bytes copy_of(std::string_view bytes);

  size_t size() const;
  std::string_view view() const;
  const void* block() const { return block_; }
  void* release() { return std::exchange(block_, nullptr); }

 private:
  void* block_ = nullptr;
};

Bytes zero_bytes(int n);
Bytes bytes_left(const void* bytes, int n);
Bytes bytes_from_memory(const void* address, int length);

// The value of kind `type_code` (1 byte, 2 short, 3 int, 4 int64, 5 float,
// 6 double, 7 bool, 8 date-time, 9 subroutine address, 10 text up to a zero
// byte) at the 1-based `position`; missing bytes read as zero. A text
// result is a new block the caller owns. `next`, when given, receives the
// position after the value, or -1 when the value ran past the end. A code
// outside 1-10 raises runtime error 100.
RtArg bytes_read(const void* bytes, int type_code, int position, int* next = nullptr);

// Copies the value's bytes to `destination`: a text with its zero byte, a
// byte set's bytes, a byte array's elements, or any other basic value's raw
// bytes; `limit`, when positive and smaller, shortens the copy.
void write_memory(const RtArg& value, void* destination, std::optional<int> limit = std::nullopt);

int32_t bit_or(std::span<const int32_t> values);
int32_t bit_and(std::span<const int32_t> values);
int32_t bit_not(int32_t value);
int32_t shift_right(int32_t value, int count);
int32_t make_long(int32_t low, int32_t high);
double abs(double value);
double remainder(std::span<const double> values);

}  // namespace rt
