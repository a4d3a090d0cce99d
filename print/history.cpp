#include "print/history.h"

#include <algorithm>
#include <array>
#include <utility>

#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/platform.h"
#include "runtime/text_encoding.h"

namespace print {

namespace {

constexpr size_t kMaxLine = 4096;
constexpr std::string_view kSeparator = "；";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kNoteMark = "@";
constexpr std::string_view kTimeKey = "时间=", kTemplateKey = "模板=", kWaybillKey = "运单号=",
                           kOrderKey = "订单号=";
// "1900.1.1" and five separators.
constexpr size_t kShortestEntry = 8 + 5 * kSeparator.size();

// Blanks, tabs and line breaks (the full-width blank too) left out.
std::string without_blanks(std::string_view s) {
  std::string out;
  for (size_t at = 0; at < s.size(); at += rt::character_size(s, at)) {
    size_t n = rt::character_size(s, at);
    std::string_view c = s.substr(at, n);
    if (c == " " || c == "\t" || c == "\r" || c == "\n" || c == "\xA1\xA1") continue;
    out += c;
  }
  return out;
}

// The recipient and goods as one number: blanks and line breaks left
// out; entries found by it are compared field by field.
uint64_t recipient_key(std::string_view name, std::string_view mobile, std::string_view address,
                       std::string_view goods) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (std::string_view part : {name, mobile, address, goods}) {
    for (size_t at = 0; at < part.size(); at += rt::character_size(part, at)) {
      std::string_view c = part.substr(at, rt::character_size(part, at));
      if (c == " " || c == "\t" || c == "\r" || c == "\n" || c == "\xA1\xA1") continue;
      for (char b : c) hash = (hash ^ static_cast<unsigned char>(b)) * 1099511628211ull;
    }
    hash = (hash ^ 0x01) * 1099511628211ull;
  }
  return hash;
}

uint64_t recipient_key(const HistoryEntry& e) {
  return recipient_key(e.name(), e.mobile(), e.address(), e.goods());
}

bool same_recipient(const HistoryEntry& a, const HistoryEntry& b) {
  return without_blanks(a.name()) == without_blanks(b.name()) &&
         without_blanks(a.mobile()) == without_blanks(b.mobile()) &&
         without_blanks(a.address()) == without_blanks(b.address()) &&
         without_blanks(a.goods()) == without_blanks(b.goods());
}

// A field as the log keeps it: no line break, and no separator but in the
// last field.
std::string log_field(std::string_view text, bool last) {
  std::string out;
  for (size_t at = 0; at < text.size(); at += rt::character_size(text, at)) {
    std::string_view c = text.substr(at, rt::character_size(text, at));
    if (c == "\r" || c == "\n") continue;
    out += !last && c == kSeparator ? "，" : c;
  }
  return out;
}

// The line's first 4,096 bytes, never ending inside a character.
std::string_view readable_part(std::string_view line) {
  if (line.size() <= kMaxLine) return line;
  size_t end = 0;
  while (end < line.size() && end + rt::character_size(line, end) <= kMaxLine) end += rt::character_size(line, end);
  return line.substr(0, end);
}

// The six fields of a line, its date not yet read.
std::optional<HistoryEntry> fields_of(std::string_view line) {
  line = readable_part(line);
  if (!rt::is_whole_text(line)) return std::nullopt;
  // One walk by characters: a separator counts only where a character
  // starts; the goods keep any "；" of their own.
  HistoryEntry entry;
  size_t count = 0;
  for (size_t at = 0; at < line.size() && count < 5; at += rt::character_size(line, at))
    if (line.compare(at, kSeparator.size(), kSeparator) == 0)
      entry.bounds[++count] = uint16_t(at + kSeparator.size());
  if (count < 5) return std::nullopt;
  entry.bounds[6] = uint16_t(line.size() + kSeparator.size());
  entry.line = std::string(line);
  return entry;
}

}  // namespace

std::string log_path() {
  return std::string(rt::exe_dir().view()) + platform_path_separator() + "地址.txt";
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

int day_number(int year, int month, int day) {
  return int(rt::date_from_parts(rt::DateParts{year, month, day, 0, 0, 0}));
}

std::string log_line(const WaybillTexts& t) {
  std::string line;
  const view::Parcel& p = t.parcel;
  for (std::string_view field : {t.date, p.name, p.address, p.mobile, p.fixed})
    line += log_field(field, false) + std::string(kSeparator);
  return line + log_field(p.goods, true);
}

std::string log_note(const PrintNote& note) {
  std::string line = std::string(kNoteMark) + std::string(kTimeKey) + log_field(note.time, false) +
                     std::string(kSeparator) + std::string(kTemplateKey) +
                     log_field(note.template_name, false);
  for (auto [key, value] : {std::pair{kWaybillKey, &note.waybill_number},
                            std::pair{kOrderKey, &note.order_number}})
    if (!value->empty())
      line += std::string(kSeparator) + std::string(key) + log_field(*value, false);
  return line;
}

// Fields it does not know (a later version's) are passed over.
std::optional<PrintNote> parse_note_line(std::string_view line) {
  line = readable_part(line);
  if (!line.starts_with(kNoteMark) || !rt::is_whole_text(line)) return std::nullopt;
  PrintNote note;
  std::string_view rest = line.substr(kNoteMark.size());
  while (!rest.empty()) {
    size_t end = 0;
    while (end < rest.size() && rest.compare(end, kSeparator.size(), kSeparator) != 0)
      end += rt::character_size(rest, end);
    std::string_view field = rest.substr(0, end);
    if (field.starts_with(kTimeKey)) note.time = field.substr(kTimeKey.size());
    if (field.starts_with(kTemplateKey)) note.template_name = field.substr(kTemplateKey.size());
    if (field.starts_with(kWaybillKey)) note.waybill_number = field.substr(kWaybillKey.size());
    if (field.starts_with(kOrderKey)) note.order_number = field.substr(kOrderKey.size());
    rest = rest.substr(std::min(rest.size(), end + kSeparator.size()));
  }
  return note;
}

std::optional<HistoryEntry> parse_history_line(std::string_view line) {
  std::optional<HistoryEntry> entry = fields_of(line);
  if (!entry) return std::nullopt;
  std::optional<int> day = date_day(entry->date());
  if (!day) return std::nullopt;
  entry->day = *day;
  return entry;
}

std::string_view HistoryEntry::field(size_t k) const {
  size_t begin = bounds[k], end = bounds[k + 1] - kSeparator.size();
  return std::string_view(line).substr(begin, end - begin);
}

bool HistoryEntry::holds(std::string_view sought) const {
  for (std::string_view text : {std::string_view(line), std::string_view(note.waybill_number),
                                std::string_view(note.order_number),
                                std::string_view(note.template_name)})
    if (contains_text(text, sought)) return true;
  return false;
}

bool contains_text(std::string_view text, std::string_view sought) {
  if (sought.empty()) return true;
  for (size_t at = 0; at + sought.size() <= text.size(); at += rt::character_size(text, at))
    if (text.compare(at, sought.size(), sought) == 0) return true;
  return false;
}

void History::forget() {
  consumed_ = 0;
  note_expected_ = false;
  entries_.clear();
  by_recipient_.clear();
}

void History::add(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  bool note_expected = std::exchange(note_expected_, false);
  if (line.size() < kShortestEntry && !line.starts_with(kNoteMark)) return;  // a blank line, say
  if (std::optional<PrintNote> note = parse_note_line(line)) {
    if (note_expected) entries_.back().note = std::move(*note);
    return;
  }
  std::optional<HistoryEntry> entry = parse_history_line(line);
  if (!entry) return;
  by_recipient_.emplace(recipient_key(*entry), entries_.size());
  entries_.push_back(std::move(*entry));
  note_expected_ = true;
}

void History::remember_unlogged(const WaybillTexts& texts, const PrintNote& note) {
  if (std::optional<HistoryEntry> entry = parse_history_line(log_line(texts))) {
    entry->note = note;
    unlogged_.push_back(std::move(*entry));
  }
}

void History::refresh() {
  // The last byte read was a line's end: if it is not there any more, the
  // file was replaced or cut, and is read from its start.
  std::optional<std::string> bytes = rt::read_file_from(path_, consumed_ ? consumed_ - 1 : 0);
  if (!bytes) return forget();
  std::string_view fresh = *bytes;
  size_t skipped = 0;
  if (consumed_ > 0) {
    if (fresh.empty() || fresh.front() != '\n') {
      forget();
      return refresh();
    }
    skipped = 1;
  } else if (fresh.starts_with(kUtf8Mark)) {
    skipped = kUtf8Mark.size();  // saved by an editor as UTF-8: no part of the first line
  }
  size_t end = fresh.rfind('\n');
  if (end == std::string_view::npos || end < skipped) return;  // no whole line yet
  std::string_view lines = fresh.substr(skipped, end + 1 - skipped);
  auto each_line = [&](auto&& take) {
    for (size_t start = 0; start < lines.size();) {
      size_t stop = lines.find('\n', start);
      take(lines.substr(start, stop - start));
      start = stop + 1;
    }
  };
  // Sized once by the lines that can be entries (a log of blank lines
  // reserves nothing).
  size_t possible_entries = 0;
  each_line([&](std::string_view line) { possible_entries += line.size() >= kShortestEntry; });
  entries_.reserve(entries_.size() + possible_entries);
  // Every line is read: a blank one between an entry and its note parts them.
  each_line([&](std::string_view line) { add(line); });
  consumed_ += lines.size() + (consumed_ == 0 ? skipped : 0);
}

// Compared as the log would keep the texts: a field's "；" is a "，" there,
// and only a line's first 4,096 bytes are read.
std::vector<const HistoryEntry*> History::matches(const WaybillTexts& t, int since) const {
  std::vector<const HistoryEntry*> found;
  std::optional<HistoryEntry> sought = fields_of(log_line(t));
  if (!sought) return found;
  auto [first, last] = by_recipient_.equal_range(recipient_key(*sought));
  for (auto it = first; it != last; ++it) {
    const HistoryEntry& e = entries_[it->second];
    if (e.day >= since && same_recipient(e, *sought)) found.push_back(&e);
  }
  std::sort(found.begin(), found.end());  // file order
  for (const HistoryEntry& e : unlogged_)
    if (e.day >= since && same_recipient(e, *sought)) found.push_back(&e);
  return found;
}

const HistoryEntry* History::find(const WaybillTexts& t, int since) const {
  std::vector<const HistoryEntry*> found = matches(t, since);
  return found.empty() ? nullptr : found.back();
}

int History::count(const WaybillTexts& t, int since) const { return int(matches(t, since).size()); }

}  // namespace print
