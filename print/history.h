// The print history: the log 地址.txt the print job appends one line to per
// printed waybill ("date；name；address；mobile；fixed；goods"), read to
// guard against printing a parcel twice, to resume batches and to reprint.
// The file is only ever appended to, and never created here. A field never
// holds a line break, and only the goods (the last field) a "；": one typed
// in another field is written "，", so the six fields always read back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "print/waybill_layout.h"
#include "view/parcel.h"

namespace print {

// What the log keeps of a waybill beyond its six fields, on a line of its
// own right after the waybill's: "@时间=14:32:05；模板=申通；运单号=…；订单号=…"
// (the numbers only when there are any). Older versions
// skip that line (it starts with no date) and read the waybill's line as
// they always did.
struct PrintNote {
  std::string time;  // "14:32:05"
  std::string template_name;
  std::string waybill_number;  // the form's, when the seller numbers them
  std::string order_number;    // the marketplace's, when the page named it
};

// One line of the log: the line itself and where its six fields are (no
// copies: a busy seller's log has 100,000 of them), and its note.
struct HistoryEntry {
  std::string line;
  PrintNote note;  // empty for a line an older version wrote
  int day = 0;  // the date as a day number (day_number)
  std::array<uint16_t, 7> bounds{};  // field k is line[bounds[k], bounds[k + 1] - separator)

  std::string_view field(size_t k) const;
  std::string_view date() const { return field(0); }  // as written: "2026.12.8"
  std::string_view name() const { return field(1); }
  std::string_view address() const { return field(2); }
  std::string_view mobile() const { return field(3); }
  std::string_view fixed() const { return field(4); }
  std::string_view goods() const { return field(5); }
  // Whether the line or its note's numbers and template hold `sought`.
  bool holds(std::string_view sought) const;
  // The recipient's texts as the line keeps them.
  view::Parcel parcel() const {
    return {std::string(name()),    std::string(mobile()), std::string(fixed()),
            std::string(address()), std::string(goods()),  note.order_number};
  }
};

// The log: 地址.txt beside the program.
std::string log_path();

// Days since 30 December 1899 (the calendar's day 0), for comparing dates.
int day_number(int year, int month, int day);
// The day of a date as the log writes it ("2026.12.8"); none for a text
// that is no such date.
std::optional<int> date_day(std::string_view date);

// The line the log keeps for a printed waybill (without its line end).
std::string log_line(const WaybillTexts& texts);
// The note line that follows it (without its line end).
std::string log_note(const PrintNote& note);
// A note line read back; none for any other line.
std::optional<PrintNote> parse_note_line(std::string_view line);

// A line of the log, or none when it is damaged: fewer than six fields, a
// date that is no date, or a byte that is no GBK character (a line cut in
// the middle of one). Only a line's first 4,096 bytes are read (no waybill
// makes more; a longer one was typed into the file).
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
  // How many times that recipient and goods were printed since then.
  int count(const WaybillTexts& texts, int since) const;
  // A waybill printed whose line the file would not take (read-only, or
  // held open by another program): known to find() and count() for as
  // long as this object lives.
  void remember_unlogged(const WaybillTexts& texts, const PrintNote& note);
  // In file order (oldest first).
  const std::vector<HistoryEntry>& entries() const { return entries_; }

 private:
  void forget();
  void add(std::string_view line);
  // Entries for the recipient and goods, printed on day `since` or later.
  std::vector<const HistoryEntry*> matches(const WaybillTexts& texts, int since) const;

  std::string path_;
  uint64_t consumed_ = 0;  // bytes of the whole lines read so far
  std::vector<HistoryEntry> entries_;
  bool note_expected_ = false;  // the last line read was an entry's
  std::unordered_multimap<uint64_t, size_t> by_recipient_;  // entries by recipient_key
  std::vector<HistoryEntry> unlogged_;
};

}  // namespace print
