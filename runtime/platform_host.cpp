// Host stand-ins for the platform services the neutral runtime needs.
#include <iconv.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "runtime/platform.h"
#include "runtime/width.h"

namespace {

// Converts between encodings; undecodable bytes are passed over.
std::string convert(std::string_view in, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == iconv_t(-1)) return std::string(in);
  std::string out(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  while (src_left > 0) {
    if (iconv(cd, &src, &src_left, &dst, &dst_left) != size_t(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;
    ++src;
    --src_left;
  }
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

}  // namespace

int platform_message_box(const char* text, const char* caption, unsigned, uintptr_t) {
  std::string line = "[" + platform_to_terminal(caption) + "] " + platform_to_terminal(text) + "\n";
  std::fputs(line.c_str(), stderr);
  return 1;  // OK
}

void platform_end_process(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

bool platform_read_memory(const void* src, void* dst, size_t n) {
  if (n == 0) return true;
  iovec local{dst, n};
  iovec remote{const_cast<void*>(src), n};
  return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == ssize_t(n);
}

std::string platform_map_width(std::string_view gbk, bool full) { return gbk_map_width(gbk, full); }

std::string platform_to_terminal(std::string_view gbk) { return convert(gbk, "UTF-8", "GBK"); }
std::string platform_utf8_to_gbk(std::string_view utf8) { return convert(utf8, "CP936", "UTF-8"); }
std::string platform_gbk_to_utf8(std::string_view gbk) { return convert(gbk, "UTF-8", "CP936"); }
bool platform_stdin_is_terminal() { return ::isatty(0) == 1; }
std::string platform_from_terminal(std::string_view text) { return convert(text, "GBK", "UTF-8"); }

namespace {

// A character of the code page through glibc's converter; 0 when it has none.
char16_t glibc_character(const char* bytes, int n) {
  static iconv_t cd = iconv_open("UTF-16LE", "CP936");
  if (cd == iconv_t(-1)) return 0;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char in[2] = {bytes[0], n > 1 ? bytes[1] : '\0'};
  unsigned char out[4] = {};
  char* src = in;
  size_t src_left = size_t(n);
  char* dst = reinterpret_cast<char*>(out);
  size_t dst_left = sizeof out;
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == size_t(-1) || src_left != 0) return 0;
  if (sizeof out - dst_left != 2) return 0;
  return char16_t(out[0] | (out[1] << 8));
}

// Windows gives private-use characters to the code page's user-defined areas
// (in the order: AAA1-AFFE, F8A1-FEFE, A140-A7A0) and then, in code order,
// to the unassigned codes of rows A1-A9, D7 and FE; glibc decodes none of
// them.
char16_t private_use_character(unsigned lead, unsigned trail) {
  if (trail >= 0xA1 && trail <= 0xFE) {
    if (lead >= 0xAA && lead <= 0xAF) return char16_t(0xE000 + (lead - 0xAA) * 94 + trail - 0xA1);
    if (lead >= 0xF8 && lead <= 0xFE) return char16_t(0xE234 + (lead - 0xF8) * 94 + trail - 0xA1);
  }
  if (lead >= 0xA1 && lead <= 0xA7 && trail >= 0x40 && trail <= 0xA0 && trail != 0x7F)
    return char16_t(0xE4C6 + (lead - 0xA1) * 96 + trail - 0x40 - (trail > 0x7F ? 1 : 0));
  static const std::map<unsigned, char16_t> unassigned = [] {
    std::map<unsigned, char16_t> codes;
    char16_t next = 0xE766;
    for (unsigned l :
         {0xA1u, 0xA2u, 0xA3u, 0xA4u, 0xA5u, 0xA6u, 0xA7u, 0xA8u, 0xA9u, 0xD7u, 0xFEu}) {
      for (unsigned t = 0x40; t <= 0xFE; ++t) {
        char pair[2] = {char(l), char(t)};
        bool user_defined = (l <= 0xA7 && t <= 0xA0) || (l == 0xFE && t >= 0xA1);
        if (t == 0x7F || user_defined || glibc_character(pair, 2)) continue;
        codes[l * 256 + t] = next++;
      }
    }
    return codes;
  }();
  auto found = unassigned.find(lead * 256 + trail);
  return found == unassigned.end() ? 0 : found->second;
}

}  // namespace

char16_t platform_gbk_to_unicode(const char* bytes, int n) {
  if (n < 1 || n > 2) return 0;
  if (char16_t c = glibc_character(bytes, n)) return c;
  if (n == 1) return 0;
  return private_use_character(static_cast<unsigned char>(bytes[0]),
                               static_cast<unsigned char>(bytes[1]));
}
