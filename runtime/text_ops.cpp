#include "runtime/text_ops.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "runtime/blocks.h"
#include "runtime/byte_buffer.h"
#include "runtime/heap.h"
#include "runtime/width.h"

namespace rt {

namespace {

constexpr std::string_view full_width_space = "\xA1\xA1";

char fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool same_bytes(const char* a, std::string_view b, bool ignore_case) {
  if (!ignore_case) return std::equal(b.begin(), b.end(), a);
  return std::equal(b.begin(), b.end(), a, [](char x, char y) { return fold(x) == fold(y); });
}

// Width of the space starting at `at`, or 0 when there is none.
size_t space_at(std::string_view text, size_t at) {
  if (text[at] == ' ') return 1;
  if (text.substr(at, 2) == full_width_space) return 2;
  return 0;
}

Text collected(const ByteBuffer& buffer) {
  return Text(std::string_view(buffer.data() ? buffer.data() : "", buffer.size()));
}

void append_or_die(ByteBuffer& buffer, std::string_view bytes) {
  if (!buffer.append(bytes)) rt_out_of_memory();
}

// Applies `change` to every single-byte character; two-byte characters are
// copied unchanged, both bytes.
template <typename Change>
Text change_ascii(std::string_view text, Change change) {
  std::string out(text);
  for (size_t at = 0; at < out.size(); at += character_size(out, at))
    if (!is_lead_byte(out[at])) out[at] = change(out[at]);
  return Text(out);
}

std::string replace_all(std::string_view text, std::string_view from, std::string_view to) {
  return std::string(replace_sub(text, from, to, 1, INT_MAX, true).view());
}

}  // namespace

int text_len(std::string_view text) { return int(text.size()); }

Text left(std::string_view text, int n) {
  if (n <= 0) return {};
  return Text(text.substr(0, size_t(n)));
}

Text right(std::string_view text, int n) {
  if (n <= 0) return {};
  size_t count = std::min(size_t(n), text.size());
  return Text(text.substr(text.size() - count));
}

Text mid(std::string_view text, int start, int n) {
  if (text.empty() || n < 1 || start <= 0 || size_t(start) > text.size()) return {};
  return Text(text.substr(size_t(start - 1), size_t(n)));
}

int find(std::string_view text, std::string_view sought, int start, bool ignore_case) {
  size_t L = text.size(), M = sought.size();
  if (L == 0 || M == 0 || L < M) return -1;
  if (start <= 0) start = 1;
  if (size_t(start) > L - M + 1) return -1;
  for (size_t cursor = size_t(start - 1); cursor <= L - M; cursor += character_size(text, cursor))
    if (same_bytes(text.data() + cursor, sought, ignore_case)) return int(cursor + 1);
  return -1;
}

int find_last(std::string_view text, std::string_view sought, int start, bool ignore_case) {
  int64_t L = int64_t(text.size()), M = int64_t(sought.size());
  if (L == 0 || M == 0 || L < M) return -1;
  int64_t highest = L - M;
  if (start > 0) highest = std::clamp(int64_t(start) - M, int64_t(0), L - M);
  for (int64_t offset = highest; offset >= 0; --offset)
    if (same_bytes(text.data() + offset, sought, ignore_case)) return int(offset + 1);
  return -1;
}

Text replace_range(std::string_view text, int start, int count, std::string_view replacement) {
  size_t L = text.size();
  if (L == 0) return Text(replacement);
  // A negative start, taken as unsigned, is past the end too.
  if (uint32_t(start) > L || count <= 0) return Text(text);
  if (start < 1) start = 1;
  std::string result(text.substr(0, size_t(start - 1)));
  result += replacement;
  size_t range_end = size_t(start - 1) + size_t(count);
  if (range_end <= L) result += text.substr(range_end);
  return Text(result);
}

Text replace_sub(std::string_view text, std::string_view sought, std::string_view replacement,
                 int start, int max_count, bool case_sensitive) {
  size_t L = text.size(), M = sought.size();
  if (L == 0) return {};
  if (M == 0 || M > L) return Text(text);
  if (start <= 0 || max_count <= 0 || size_t(start) > L - M + 1) return Text(text);

  ByteBuffer out;
  size_t copied_to = 0;
  int replaced = 0;
  for (size_t cursor = size_t(start - 1); cursor < L - M + 1;) {
    if (!same_bytes(text.data() + cursor, sought, !case_sensitive)) {
      cursor += character_size(text, cursor);
      continue;
    }
    append_or_die(out, text.substr(copied_to, cursor - copied_to));
    append_or_die(out, replacement);
    cursor += M;
    copied_to = cursor;
    if (++replaced == max_count) break;
  }
  append_or_die(out, text.substr(copied_to));
  return collected(out);
}

TextArray split(std::string_view text, std::string_view separator, std::optional<int> max_count) {
  int limit = max_count ? std::max(*max_count, 0) : INT_MAX;
  ByteBuffer pieces;  // pointers to the element blocks, in order
  int made = 0;
  auto add_piece = [&](std::string_view piece) {
    char* element = rt_text_make(piece);
    if (!pieces.append_pointer(element)) rt_out_of_memory();
    ++made;
  };

  if (!text.empty() && limit > 0) {
    if (separator.empty()) {
      add_piece(text);
    } else {
      size_t piece_start = 0, cursor = 0;
      while (made < limit && text.size() >= cursor && text.size() - cursor >= separator.size()) {
        if (text.compare(cursor, separator.size(), separator) == 0) {
          add_piece(text.substr(piece_start, cursor - piece_start));
          cursor += separator.size();
          piece_start = cursor;
        } else {
          cursor += character_size(text, cursor);
        }
      }
      if (made < limit && piece_start < text.size()) add_piece(text.substr(piece_start));
    }
  }

  const int32_t sizes[] = {made};
  void* array = rt_array_new(sizes, sizeof(void*));
  if (made > 0) std::copy_n(pieces.data(), pieces.size(), rt_array_data(array));
  return TextArray::adopt(array);
}

Text trim_start(std::string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    size_t width = space_at(text, at);
    if (width == 0) break;
    at += width;
  }
  return Text(text.substr(at));
}

Text trim(std::string_view text) {
  // Walk forward character by character: a trail byte can look like the
  // start of a full-width space, so the end cannot be found walking back.
  size_t first = text.size(), end = 0;
  for (size_t at = 0; at < text.size();) {
    size_t width = space_at(text, at);
    if (width == 0) {
      width = std::min(character_size(text, at), text.size() - at);
      if (first == text.size()) first = at;
      end = at + width;
    }
    at += width;
  }
  if (first >= end) return {};
  return Text(text.substr(first, end - first));
}

Text strip_spaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t width = space_at(text, at);
    if (width == 0) {
      width = std::min(character_size(text, at), text.size() - at);
      out.append(text.substr(at, width));
    }
    at += width;
  }
  return Text(out);
}

Text upper(std::string_view text) {
  return change_ascii(text,
                      [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
}

Text lower(std::string_view text) { return change_ascii(text, fold); }

// The slashes are swapped by hand first: the platform mapping leaves the
// backslash alone.
Text fullwidth(std::string_view text) {
  std::string prepared = replace_all(replace_all(text, "/", "\xA3\xAF"), "\\", "\xA3\xDC");
  return Text(gbk_map_width(prepared, true));
}

Text halfwidth(std::string_view text) {
  std::string prepared = replace_all(replace_all(text, "\xA3\xAF", "/"), "\xA3\xDC", "\\");
  return Text(gbk_map_width(prepared, false));
}

int compare(std::string_view a, std::string_view b, bool case_sensitive) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = static_cast<unsigned char>(case_sensitive ? a[i] : fold(a[i]));
    int y = static_cast<unsigned char>(case_sensitive ? b[i] : fold(b[i]));
    if (x != y) return case_sensitive ? (x < y ? -1 : 1) : x - y;
  }
  if (a.size() == b.size()) return 0;
  if (case_sensitive) return a.size() < b.size() ? -1 : 1;
  return a.size() < b.size() ? -int(static_cast<unsigned char>(fold(b[n])))
                             : int(static_cast<unsigned char>(fold(a[n])));
}

Text spaces(int n) {
  if (n < 1) return {};
  return Text(std::string(size_t(n), ' '));
}

int code_at(std::string_view text, std::optional<int> position) {
  if (text.empty()) return 0;
  int at = position.value_or(1);
  if (at < 1 || size_t(at) > text.size()) return 0;
  return static_cast<signed char>(text[size_t(at - 1)]);
}

Text char_of(int code) {
  char c = char(code & 0xFF);
  if (c == 0) return {};
  return Text(std::string_view(&c, 1));
}

Text hex(int32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%X", uint32_t(value));
  return Text(digits);
}

}  // namespace rt
