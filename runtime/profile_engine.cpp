// A private-profile engine that behaves as the Windows functions do on the
// same bytes (checked against them under Wine). The host uses it for
// everything; Windows builds for whole sections, whose Wine functions drop
// comment lines (";…") where Windows and this engine keep them:
// - lines end at CR or LF; blank space (and the DOS end-of-file byte) around
//   a line is ignored, blank lines are dropped when the file is rewritten;
// - "[name]" starts a section (text after the "]" is ignored); keys before
//   the first section belong to a section with an empty name;
// - "key = value" splits at the first "="; a line without "=" is kept but
//   holds no value;
// - section and key names match character by character without regard to
//   case, as Windows folds it: ASCII, Latin and pinyin letters, Greek,
//   Cyrillic, Roman numerals and full-width letters (every cased pair GBK
//   holds), never the trail byte of a double-byte character on its own;
//   the first matching section and the first matching key win;
// - a read strips one pair of matching quotes around the value and cuts it
//   to the buffer; the default loses its trailing blanks;
// - a write leaves the file untouched when the value is unchanged, drops the
//   value's leading blanks, appends a new key at the end of its section and
//   a new section at the end of the file, and rewrites the whole file with
//   CR LF line ends, whole or not at all (a temporary file beside it takes
//   its place, attributes kept: Windows refuses a new file over a hidden
//   one); a file that exists but cannot be read is not written;
// - a section read gives its lines as "key=value" (a line without "=" as
//   it is), values with their quotes; a section write replaces them all.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/file_system.h"
#include "runtime/files.h"
#include "runtime/profile_engine.h"
#include "runtime/unicode.h"

namespace {

struct ProfileKey {
  std::string name;
  std::optional<std::string> value;
};

struct ProfileSection {
  std::string name;
  std::vector<ProfileKey> keys;
};

using Profile = std::vector<ProfileSection>;

bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }

std::string_view trim_start(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view trim_end(std::string_view s) {
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view trim(std::string_view s) { return trim_end(trim_start(s)); }

// The upper case of a character, for the cased pairs GBK holds.
char16_t upper(char16_t c) {
  auto in = [c](unsigned from, unsigned to) { return c >= from && c <= to; };
  if (in('a', 'z') || (in(0xE0, 0xFE) && c != 0xF7) || (in(0x3B1, 0x3C9) && c != 0x3C2) ||
      in(0x430, 0x44F) || in(0xFF41, 0xFF5A))
    return char16_t(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (in(0x450, 0x45F)) return char16_t(c - 0x50);
  if (in(0x2170, 0x217F)) return char16_t(c - 0x10);  // Roman numerals
  if (c == 0x1F9) return 0x1F8;
  // Latin Extended-A and the pinyin letters with caron: pairs of an upper
  // and a lower case letter.
  bool odd = c & 1;
  if ((odd && (in(0x101, 0x12F) || in(0x133, 0x137) || in(0x14B, 0x177))) ||
      (!odd && (in(0x13A, 0x148) || in(0x17A, 0x17E) || in(0x1CE, 0x1DC))))
    return char16_t(c - 1);
  return c;
}

bool same_name(std::string_view a, std::string_view b) {
  if (a == b) return true;
  std::u16string x = rt::decode_gbk(a).chars, y = rt::decode_gbk(b).chars;
  return x.size() == y.size() &&
         std::equal(x.begin(), x.end(), y.begin(),
                    [](char16_t p, char16_t q) { return upper(p) == upper(q); });
}

std::optional<std::string> read_file(const char* path) { return rt::read_file(path); }

Profile parse(std::string_view bytes);

// The file as a write starts from: empty when it does not exist, nothing
// when it exists and cannot be read (writing then would lose the rest).
std::optional<Profile> read_for_write(const char* path) {
  if (std::optional<std::string> bytes = read_file(path)) return parse(*bytes);
  if (!rt::file_system().attributes(path)) return parse("");
  return std::nullopt;
}

void add_line(Profile& profile, std::string_view line) {
  line = trim(line);
  if (line.empty()) return;
  if (line.front() == '[') {
    size_t close = line.find(']');
    if (close != std::string_view::npos) {
      profile.push_back({std::string(trim(line.substr(1, close - 1))), {}});
      return;
    }
  }
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    profile.back().keys.push_back({std::string(line), std::nullopt});
  } else {
    profile.back().keys.push_back({std::string(trim_end(line.substr(0, equals))),
                                   std::string(trim_start(line.substr(equals + 1)))});
  }
}

Profile parse(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  Profile profile(1);  // the section without a name
  while (!bytes.empty()) {
    size_t end = bytes.find_first_of("\r\n");
    add_line(profile, bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  return profile;
}

bool save(const char* path, const Profile& profile) {
  std::string out;
  for (const ProfileSection& section : profile) {
    if (!section.name.empty()) out += "[" + section.name + "]\r\n";
    for (const ProfileKey& key : section.keys) {
      out += key.name;
      if (key.value) out += "=" + *key.value;
      out += "\r\n";
    }
  }
  return rt::replace_file_contents(path, out);
}

ProfileSection* find_section(Profile& profile, std::string_view name) {
  name = trim(name);
  for (ProfileSection& section : profile)
    if (same_name(section.name, name)) return &section;
  return nullptr;
}

ProfileKey* find_key(ProfileSection& section, std::string_view name) {
  name = trim(name);
  for (ProfileKey& key : section.keys)
    if (same_name(key.name, name)) return &key;
  return nullptr;
}

std::string_view without_quotes(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

size_t copy_out(std::string_view value, char* buffer, size_t size) {
  if (size == 0) return 0;
  size_t n = std::min(value.size(), size - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return n;
}

}  // namespace

size_t engine_profile_read(const char* path, const char* section, const char* key,
                             const char* default_value, char* buffer, size_t size) {
  std::string_view fallback = trim_end(default_value ? default_value : "");
  std::optional<std::string> bytes = read_file(path);
  if (!bytes) return copy_out(fallback, buffer, size);
  Profile profile = parse(*bytes);
  ProfileSection* found_section = find_section(profile, section);
  ProfileKey* found_key = found_section ? find_key(*found_section, key) : nullptr;
  if (!found_key || !found_key->value) return copy_out(fallback, buffer, size);
  return copy_out(without_quotes(*found_key->value), buffer, size);
}

bool engine_profile_write(const char* path, const char* section, const char* key,
                            const char* value) {
  std::optional<Profile> read = read_for_write(path);
  if (!read) return false;
  Profile& profile = *read;
  ProfileSection* target = find_section(profile, section);
  if (!target) target = &profile.emplace_back(ProfileSection{std::string(trim_start(section)), {}});
  std::string new_value(trim_start(value));
  ProfileKey* entry = find_key(*target, key);
  if (entry && entry->value == new_value) return true;
  if (entry) {
    entry->value = new_value;
  } else {
    target->keys.push_back({std::string(trim_start(key)), new_value});
  }
  return save(path, profile);
}

size_t engine_profile_read_section(const char* path, const char* section, char* buffer,
                                     size_t size) {
  if (size < 2) return 0;
  std::string lines;
  std::optional<std::string> bytes = read_file(path);
  Profile profile = parse(bytes.value_or(""));
  if (ProfileSection* found = bytes ? find_section(profile, section) : nullptr)
    for (const ProfileKey& key : found->keys)
      lines += key.name + (key.value ? "=" + *key.value : "") + '\0';
  if (lines.size() + 1 > size) {
    std::memcpy(buffer, lines.data(), size - 2);
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
  }
  std::memcpy(buffer, lines.data(), lines.size());
  buffer[lines.size()] = '\0';
  if (lines.empty()) buffer[1] = '\0';
  return lines.size();
}

bool engine_profile_write_section(const char* path, const char* section, const char* lines) {
  std::optional<Profile> read = read_for_write(path);
  if (!read) return false;
  Profile& profile = *read;
  ProfileSection* target = find_section(profile, section);
  if (!target) target = &profile.emplace_back(ProfileSection{std::string(trim_start(section)), {}});
  target->keys.clear();
  for (const char* line = lines; *line; line += std::strlen(line) + 1) {
    std::string_view text = trim(line);
    if (text.empty()) continue;
    size_t equals = text.find('=');
    if (equals == std::string_view::npos)
      target->keys.push_back({std::string(text), std::nullopt});
    else
      target->keys.push_back({std::string(trim_end(text.substr(0, equals))),
                              std::string(trim_start(text.substr(equals + 1)))});
  }
  return save(path, profile);
}
