// Settings (INI) files, read and written through the platform's
// private-profile functions (a stand-in engine with the same behaviour on
// the host).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text.h"
#include "runtime/value.h"

namespace rt {

// The value of `key` in `section`; the default (left out: none) when the
// file, section or key is missing. An empty value is the empty text.
Text ini_read(std::string_view path, std::string_view section, std::string_view key,
              std::optional<std::string_view> default_value = std::nullopt);
// The longest value Windows writes whole (Wine silently wraps longer ones).
inline constexpr size_t kMaxIniValue = 32767;

// Writes the value, creating file, section or key as needed; true on
// success. A value over kMaxIniValue bytes is refused (false).
bool ini_write(std::string_view path, std::string_view section, std::string_view key,
               std::string_view value);

// A section's lines in file order ("key=value", values as stored, comment
// lines too, so that a section written back keeps them): one read however
// many keys it has. Empty when the file or section is missing.
std::vector<std::string> ini_read_section(std::string_view path, std::string_view section);
// Replaces every line of the section with these, in one write; true on
// success. Lines hold no zero byte, CR or LF.
bool ini_write_section(std::string_view path, std::string_view section,
                       const std::vector<std::string>& lines);

// The percent-encoding of texts the settings file cannot hold as they are
// (the sender address, unusual item titles): letters and digits stay, every
// other byte becomes "%" and two upper-case hexadecimal digits.
std::string encode_setting_text(std::string_view text);
// Its inverse. A "%" not followed by two hexadecimal digits is kept as it
// is (with whatever follows), so a hand-edited file loses nothing; a
// decoded zero byte is dropped.
std::string decode_setting_text(std::string_view text);

// The first character of the value that the settings file cannot keep
// (empty when it can keep them all): the file stays GBK, which older
// versions and other programs read, so a character GBK has not would come
// back to them as another.
std::string character_settings_cannot_keep(std::string_view value);
// A refused character as a refusal names it, "“䢺”（U+48BA）": the code
// says which it is where the character itself shows as a box.
std::string quoted_character(std::string_view character);
// Why, in the words a refusal gives the seller.
inline constexpr char kSettingsKeepGbk[] = "设置文件用 GBK 编码，旧版本和别的程序读不出这个字。";

}  // namespace rt

char* rt_ini_read(int count, const RtArg* args);
int32_t rt_ini_write(int count, const RtArg* args);
