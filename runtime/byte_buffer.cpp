#include "runtime/byte_buffer.h"

#include <algorithm>
#include <cstring>

#include "runtime/heap.h"

namespace {
constexpr size_t slack = 128;
}

bool ByteBuffer::append(const void* source, ptrdiff_t n) {
  if (n <= 0 || !source) return true;
  if (!grow_to(length_ + size_t(n))) return false;
  std::memcpy(block_ + length_, source, size_t(n));
  length_ += size_t(n);
  return true;
}

// Capacity grows at least geometrically, so collecting a long output costs
// linear time, not one reallocation per 128 bytes.
bool ByteBuffer::grow_to(size_t length) {
  if (length <= capacity_) return true;
  size_t wanted = std::max(length + slack, capacity_ * 2);
  auto* grown = static_cast<char*>(rt_realloc(block_, wanted));
  if (!grown) return false;
  block_ = grown;
  capacity_ = wanted;
  return true;
}

void ByteBuffer::release() {
  rt_free(block_);
  block_ = nullptr;
  length_ = capacity_ = 0;
}
