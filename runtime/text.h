// Owning handles over the runtime's text blocks and arrays of texts.
//
// A text block holds the GBK bytes and one zero byte, allocated at exactly
// length + 1 bytes; the empty text is null, never a block of just the zero.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

// A new text block holding `bytes` (null when empty).
char* rt_text_make(std::string_view bytes);

// The bytes of a text block, or of a static empty string for null.
std::string_view rt_text_view(const char* text);

namespace rt {

class Text {
 public:
  Text() = default;
  explicit Text(std::string_view bytes) : block_(rt_text_make(bytes)), size_(bytes.size()) {}
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  Text(Text&& other) noexcept
      : block_(std::exchange(other.block_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  Text& operator=(Text&& other) noexcept;
  ~Text();

  // Takes ownership of a text block that a runtime operation returned.
  static Text adopt(char* block);

  std::string_view view() const { return {c_str(), size_}; }
  // Never null: the empty text reads as "".
  const char* c_str() const { return block_ ? block_ : ""; }
  // The block itself: null for the empty text.
  const char* block() const { return block_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  char* release();

  friend bool operator==(const Text& t, std::string_view s) { return t.view() == s; }

 private:
  char* block_ = nullptr;
  size_t size_ = 0;
};

// A one-dimensional array block whose elements are text blocks.
class TextArray {
 public:
  TextArray() = default;
  TextArray(const TextArray&) = delete;
  TextArray& operator=(const TextArray&) = delete;
  TextArray(TextArray&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  TextArray& operator=(TextArray&& other) noexcept;
  ~TextArray();

  static TextArray adopt(void* block);

  size_t size() const;
  // Element i, 0-based.
  std::string_view operator[](size_t i) const;
  const void* block() const { return block_; }
  void* release() { return std::exchange(block_, nullptr); }

 private:
  void* block_ = nullptr;
};

}  // namespace rt
