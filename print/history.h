// The print history: the log 地址.txt the print job appends one line to per
// printed waybill ("date；name；address；mobile；fixed；goods"), read to
// guard against printing a parcel twice, to resume batches and to reprint.
// The file is only ever appended to, and never created here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "print/waybill_layout.h"

namespace print {

struct HistoryEntry {
  std::string date;  // as written: "2026.12.8"
  int day = 0;       // the date as a day number (day_number)
  std::string name, address, mobile, fixed, goods;
  std::string line;  // the whole line
};

// Days since 30 December 1899 (the calendar's day 0), for comparing dates.
int day_number(int year, int month, int day);

// A line of the log, or none when it is damaged: fewer than six fields, a
// date that is no date, a byte that is no GBK character (a line cut in the
// middle of one), or longer than any waybill makes (4,096 bytes).
std::optional<HistoryEntry> parse_history_line(std::string_view line);

// Whether `text` holds `sought`, compared character by character (a GBK
// character's second byte never matches an ASCII character sought).
bool contains_text(std::string_view text, std::string_view sought);

class History {
 public:
  explicit History(std::string path) : path_(std::move(path)) {}

  // Brings the entries up to date with the file, reading only what was
  // appended since the last call (all of it again if the file was replaced
  // or shortened; none when it is gone).
  void refresh();
  // The latest entry for the same recipient (name, mobile, and the address
  // with blanks and line breaks ignored) and the same goods, printed on day
  // `since` or later.
  const HistoryEntry* find(const WaybillTexts& texts, int since) const;
  // In file order (oldest first).
  const std::vector<HistoryEntry>& entries() const { return entries_; }

 private:
  void forget();
  void add(std::string_view line);

  std::string path_;
  uint64_t consumed_ = 0;  // bytes of the whole lines read so far
  std::vector<HistoryEntry> entries_;
  std::unordered_multimap<std::string, size_t> by_recipient_;
};

}  // namespace print
