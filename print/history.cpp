#include "print/history.h"

#include <algorithm>

#include "runtime/files.h"

namespace print {

namespace {

constexpr size_t kMaxLine = 4096;
constexpr std::string_view kSeparator = "；";

bool is_lead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool is_trail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Every byte is ASCII or a whole GBK character.
bool whole_characters(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) continue;
    if (!is_lead(c) || i + 1 >= s.size() || !is_trail(static_cast<unsigned char>(s[i + 1])))
      return false;
    ++i;
  }
  return true;
}

size_t char_size(std::string_view s, size_t at) {
  return is_lead(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
}

// Blanks, tabs and line breaks (the full-width blank too) left out.
std::string without_blanks(std::string_view s) {
  std::string out;
  for (size_t at = 0; at < s.size(); at += char_size(s, at)) {
    size_t n = char_size(s, at);
    std::string_view c = s.substr(at, n);
    if (c == " " || c == "\t" || c == "\r" || c == "\n" || c == "\xA1\xA1") continue;
    out += c;
  }
  return out;
}

std::string recipient_key(std::string_view name, std::string_view mobile,
                          std::string_view address, std::string_view goods) {
  return without_blanks(name) + '\x01' + without_blanks(mobile) + '\x01' +
         without_blanks(address) + '\x01' + without_blanks(goods);
}

std::optional<int> date_day(std::string_view date) {
  int parts[3] = {0, 0, 0};
  size_t k = 0;
  for (size_t i = 0; i < date.size(); ++i) {
    char c = date[i];
    if (c == '.' && k < 2 && i > 0 && date[i - 1] != '.') {
      ++k;
    } else if (c >= '0' && c <= '9' && parts[k] < 100000) {
      parts[k] = parts[k] * 10 + (c - '0');
    } else {
      return std::nullopt;
    }
  }
  if (k != 2 || parts[0] < 1900 || parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31)
    return std::nullopt;
  return day_number(parts[0], parts[1], parts[2]);
}

}  // namespace

int day_number(int year, int month, int day) {
  // Days from civil (proleptic Gregorian), shifted to the calendar's day 0.
  year -= month <= 2;
  int era = (year >= 0 ? year : year - 399) / 400;
  int yoe = year - era * 400;
  int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  int days_since_1970 = era * 146097 + doe - 719468;
  return days_since_1970 + 25569;
}

std::optional<HistoryEntry> parse_history_line(std::string_view line) {
  if (line.size() > kMaxLine || !whole_characters(line)) return std::nullopt;
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    size_t at = line.find(kSeparator, start);
    // The separator only counts where a character starts.
    while (at != std::string_view::npos && !whole_characters(line.substr(0, at)))
      at = line.find(kSeparator, at + 1);
    if (at == std::string_view::npos || fields.size() == 5) {
      fields.push_back(line.substr(start));  // the goods keep any "；" of their own
      break;
    }
    fields.push_back(line.substr(start, at - start));
    start = at + kSeparator.size();
  }
  if (fields.size() < 6) return std::nullopt;
  std::optional<int> day = date_day(fields[0]);
  if (!day) return std::nullopt;
  return HistoryEntry{std::string(fields[0]), *day,
                      std::string(fields[1]), std::string(fields[2]),
                      std::string(fields[3]), std::string(fields[4]),
                      std::string(fields[5]), std::string(line)};
}

bool contains_text(std::string_view text, std::string_view sought) {
  if (sought.empty()) return true;
  for (size_t at = 0; at + sought.size() <= text.size(); at += char_size(text, at))
    if (text.compare(at, sought.size(), sought) == 0) return true;
  return false;
}

void History::forget() {
  consumed_ = 0;
  entries_.clear();
  by_recipient_.clear();
}

void History::add(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::optional<HistoryEntry> entry = parse_history_line(line);
  if (!entry) return;
  by_recipient_.emplace(recipient_key(entry->name, entry->mobile, entry->address, entry->goods),
                        entries_.size());
  entries_.push_back(std::move(*entry));
}

void History::refresh() {
  // The last byte read was a line's end: if it is not there any more, the
  // file was replaced or cut, and is read from its start.
  std::optional<std::string> bytes = rt::read_file_from(path_, consumed_ ? consumed_ - 1 : 0);
  if (!bytes) return forget();
  std::string_view fresh = *bytes;
  if (consumed_ > 0) {
    if (fresh.empty() || fresh.front() != '\n') {
      forget();
      return refresh();
    }
    fresh.remove_prefix(1);
  }
  size_t end = fresh.rfind('\n');
  if (end == std::string_view::npos) return;  // no whole line yet
  std::string_view lines = fresh.substr(0, end + 1);
  for (size_t start = 0; start < lines.size();) {
    size_t stop = lines.find('\n', start);
    add(lines.substr(start, stop - start));
    start = stop + 1;
  }
  consumed_ += lines.size();
}

const HistoryEntry* History::find(const WaybillTexts& t, int since) const {
  const HistoryEntry* latest = nullptr;
  auto [first, last] = by_recipient_.equal_range(recipient_key(t.name, t.mobile, t.address, t.goods));
  for (auto it = first; it != last; ++it) {
    const HistoryEntry& e = entries_[it->second];
    if (e.day >= since && (!latest || &e > latest)) latest = &e;
  }
  return latest;
}

}  // namespace print
