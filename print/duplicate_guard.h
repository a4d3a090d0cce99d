// The printed-waybill records a print consults and adds to: the log
// (地址.txt beside the program, only while it exists), the prints of this
// run the log would not take, and the duplicate guard's look-back.
#pragma once

#include <optional>
#include <string>

#include "print/history.h"
#include "print/waybill_layout.h"

namespace print {

class DuplicateGuard {
 public:
  explicit DuplicateGuard(std::string settings_path) : settings_path_(std::move(settings_path)) {}

  // Days the guard looks back ([dayinji] chongfutianshu, 3 when not set;
  // 0 turns it off).
  int days() const;
  // Today as the log's day numbers count.
  static int today();
  // The latest print of the same recipient and goods within the guard's
  // days; none when the guard is off or there is no log.
  const HistoryEntry* earlier_print(const WaybillTexts& texts);
  // How many times they were printed today (0 when the guard is off).
  int printed_today(const WaybillTexts& texts);
  // Adds the print to the log, its time and template on the note line
  // after it; why it could not, empty when it did or when there is no log.
  // A print the file would not take is still known to the guard for this
  // run.
  std::string record(const WaybillTexts& texts, const std::string& template_name = {},
                     const std::string& waybill_number = {});
  // Whether the log is there: without it nothing is recorded.
  bool has_log() const;
  // Creates the log, empty; false when it cannot be created.
  bool create_log() const;

 private:
  History* history();  // up to date; none without the log

  std::string settings_path_;
  std::optional<History> history_;
};

}  // namespace print
