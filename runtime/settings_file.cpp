#include "runtime/settings_file.h"

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/command_args.h"
#include "runtime/platform.h"
#include "runtime/text_encoding.h"

namespace rt {

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool is_letter_or_digit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string encode_setting_text(std::string_view text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (is_letter_or_digit(c)) {
      out += char(c);
    } else {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out;
}

std::string decode_setting_text(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    int high = i + 1 < text.size() ? hex_value(text[i + 1]) : -1;
    int low = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
    if (text[i] == '%' && high >= 0 && low >= 0) {
      if (int value = high * 16 + low; value != 0) out += char(value);
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

std::string character_settings_cannot_keep(std::string_view value) {
  size_t at = first_outside_gbk(value);
  if (at == std::string_view::npos) return {};
  return std::string(value.substr(at, character_size(value, at)));
}

std::string quoted_character(std::string_view character) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", unsigned(character_at(character, 0)));
  return "“" + std::string(character) + "”（" + code + "）";
}

Text ini_read(std::string_view path, std::string_view section, std::string_view key,
              std::optional<std::string_view> default_value) {
  std::string file(path), sec(section), name(key);
  std::string fallback(default_value.value_or(""));
  // The platform cuts a value that does not fit: grow until it fits.
  std::vector<char> buffer(1024);
  for (;;) {
    size_t n = platform_profile_read(file.c_str(), sec.c_str(), name.c_str(),
                                     default_value ? fallback.c_str() : nullptr, buffer.data(),
                                     buffer.size());
    if (n < buffer.size() - 1) return Text(std::string_view(buffer.data(), n));
    buffer.assign(buffer.size() * 2, '\0');  // geometric: a long value takes few reads
  }
}

bool ini_write(std::string_view path, std::string_view section, std::string_view key,
               std::string_view value) {
  if (value.size() > kMaxIniValue) return false;
  return platform_profile_write(std::string(path).c_str(), std::string(section).c_str(),
                                std::string(key).c_str(), std::string(value).c_str());
}

std::vector<std::string> ini_read_section(std::string_view path, std::string_view section) {
  std::string file(path), sec(section);
  std::vector<char> buffer(32 * 1024);
  size_t n = 0;
  // The platform cuts a section that does not fit: grow (doubling) until it fits.
  while ((n = platform_profile_read_section(file.c_str(), sec.c_str(), buffer.data(),
                                            buffer.size())) == buffer.size() - 2)
    buffer.assign(buffer.size() * 2, '\0');
  std::vector<std::string> lines;
  for (size_t at = 0; at < n;) {
    size_t end = std::string_view(buffer.data() + at, n - at).find('\0');
    if (end == std::string_view::npos) end = n - at;
    if (end > 0) lines.emplace_back(buffer.data() + at, end);
    at += end + 1;
  }
  return lines;
}

bool ini_write_section(std::string_view path, std::string_view section,
                       const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line + '\0';
  joined += '\0';
  return platform_profile_write_section(std::string(path).c_str(), std::string(section).c_str(),
                                        joined.data());
}

}  // namespace rt

char* rt_ini_read(int count, const RtArg* args) {
  CommandArgs a(count, args);
  std::optional<std::string_view> default_value;
  if (a.given(3)) default_value = a.text(3);
  return rt::ini_read(a.text(0), a.text(1), a.text(2), default_value).release();
}

int32_t rt_ini_write(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::ini_write(a.text(0), a.text(1), a.text(2), a.text(3));
}
