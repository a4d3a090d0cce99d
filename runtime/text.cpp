#include "runtime/text.h"

#include <cstring>

#include "runtime/blocks.h"
#include "runtime/heap.h"

char* rt_text_make(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* block = static_cast<char*>(rt_alloc(bytes.size() + 1));
  std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

std::string_view rt_text_view(const char* text) { return text ? std::string_view(text) : ""; }

namespace rt {

Text& Text::operator=(Text&& other) noexcept {
  if (this != &other) {
    rt_free(block_);
    block_ = std::exchange(other.block_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

Text::~Text() { rt_free(block_); }

Text Text::adopt(char* block) {
  Text t;
  t.block_ = block;
  t.size_ = block ? std::strlen(block) : 0;
  return t;
}

char* Text::release() {
  size_ = 0;
  return std::exchange(block_, nullptr);
}

TextArray& TextArray::operator=(TextArray&& other) noexcept {
  if (this != &other) {
    rt_array_free(block_, true);
    block_ = std::exchange(other.block_, nullptr);
  }
  return *this;
}

TextArray::~TextArray() { rt_array_free(block_, true); }

TextArray TextArray::adopt(void* block) {
  TextArray a;
  a.block_ = block;
  return a;
}

size_t TextArray::size() const { return block_ ? rt_array_count(block_) : 0; }

std::string_view TextArray::operator[](size_t i) const {
  return rt_text_view(static_cast<const char*>(rt_array_pointer_at(block_, i)));
}

}  // namespace rt
