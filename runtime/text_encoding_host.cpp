// The wide conversions on a host without the platform's code pages: glibc's
// converter between code page 936 and wchar_t.
#include <iconv.h>

#include <cerrno>

#include "runtime/text_encoding.h"

namespace rt {

namespace {

// Converts `size` bytes; a byte the converter cannot take is replaced by
// `replacement` (also in the output's encoding).
std::string convert(const char* in, size_t size, const char* to, const char* from,
                    std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == iconv_t(-1)) return {};
  std::string out(size * 4 + 16, '\0');
  char* src = const_cast<char*>(in);
  size_t left = size;
  size_t used = 0;
  while (left > 0) {
    char* dst = out.data() + used;
    size_t room = out.size() - used;
    size_t result = iconv(cd, &src, &left, &dst, &room);
    used = out.size() - room;
    if (result != size_t(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // An invalid or cut sequence: replaced, and its first unit skipped.
    if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + replacement.size());
    out.replace(used, replacement.size(), replacement);
    used += replacement.size();
    size_t unit = std::string_view(from) == "WCHAR_T" ? sizeof(wchar_t) : 1;
    src += unit;
    left = left > unit ? left - unit : 0;
  }
  iconv_close(cd);
  out.resize(used);
  return out;
}

}  // namespace

std::wstring widen(std::string_view text) {
  wchar_t replacement = 0xFFFD;
  std::string bytes = convert(text.data(), text.size(), "WCHAR_T", "CP936",
                              std::string_view(reinterpret_cast<char*>(&replacement),
                                               sizeof replacement));
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

std::string narrow(std::wstring_view wide) {
  return convert(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t), "CP936",
                 "WCHAR_T", "?");
}

}  // namespace rt
