// A growable byte buffer for operations that collect output piece by piece.
#pragma once

#include <cstddef>
#include <string_view>

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ~ByteBuffer() { release(); }

  // Appends n bytes; n <= 0 succeeds and does nothing, a null source
  // appends nothing. False when memory runs out (the buffer is unchanged).
  bool append(const void* source, ptrdiff_t n);
  bool append(std::string_view bytes) { return append(bytes.data(), ptrdiff_t(bytes.size())); }
  bool append_pointer(const void* p) { return append(&p, sizeof p); }
  void release();

  const char* data() const { return block_; }
  size_t size() const { return length_; }
  size_t capacity() const { return capacity_; }

 private:
  bool grow_to(size_t length);

  char* block_ = nullptr;
  size_t length_ = 0;
  size_t capacity_ = 0;
};
