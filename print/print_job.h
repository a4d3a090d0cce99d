// Printing the shown waybill on the current printer, and a whole batch.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "print/history.h"
#include "print/print_surface.h"
#include "print/waybill_layout.h"
#include "recognize/recognizer.h"
#include "view/main_view.h"

namespace print {

// What "打印" would print now, for the printer and the preview alike.
struct Waybill {
  WaybillTexts texts;
  std::vector<PrintItem> items;  // at the template's positions plus the offsets
  std::string problem;  // why the selected template cannot print (no items then)
  std::string template_name;
  std::array<int, kLayoutValues> values{};  // the template's f1..f20
  int left = 0, top = 0;                     // the offsets, tenths of a millimetre
};

enum class PrintOutcome {
  printed,    // the page went to the printer and was logged
  cancelled,  // a question was answered "否": a batch goes on with the next record
  failed,     // nothing printed (template, printer or paper): a batch stops here
};

class PrintJob {
 public:
  // Where the row of the template at a list position comes from (the
  // program's template store); without one, key position + 1 of section
  // "dayin".
  using RowSource = std::string (*)(const std::string& settings_path, int position);

  // `owner` owns the message boxes (the main window; 0 for none).
  PrintJob(view::MainView& view, PrintSurface& surface, std::string settings_path,
           uintptr_t owner = 0, RowSource rows = nullptr)
      : view_(view),
        surface_(surface),
        settings_path_(std::move(settings_path)),
        owner_(owner),
        rows_(rows) {}

  // The "打印" button: checks the template, asks up to three questions (and
  // the paper question on a printer without the form), then prints one
  // page and appends the log line.
  PrintOutcome print_waybill(const std::string& printer);
  // The waybill the window shows, on the selected template, dated `now`.
  Waybill prepare(double now) const;
  // "打印校准页": the calibration sheet at the current offsets, on the
  // form's paper (asking about the paper as any print does).
  PrintOutcome print_calibration_sheet(const std::string& printer);
  // Asks where the sheet's centre cross landed, corrects the offsets, shows
  // and saves them; false when the seller cancelled.
  bool correct_offsets();
  // The "连打" button: every record of the last batch page in turn, until
  // one cannot be printed.
  void print_all(recognize::Recognizer& recognizer, const std::string& printer);

  const std::string& last_printed_name() const { return last_printed_name_; }
  // The window whose questions the next prints ask (the one they were
  // started from, disabled while a question is open).
  void set_owner(uintptr_t owner) { owner_ = owner; }
  uintptr_t owner() const { return owner_; }

 private:
  std::string template_problem(int selected, const std::string& row) const;
  bool confirmed(const WaybillTexts& texts);
  // Days the duplicate guard looks back ([dayinji] chongfutianshu, 3 when
  // not set; 0 turns it off).
  int guard_days() const;
  int today() const;
  // The latest print of the same recipient and goods on day `since` or
  // later, from the log (none without one).
  const HistoryEntry* earlier_print(const WaybillTexts& texts, int since);
  History* history();  // up to date; none without the log
  std::set<int> printed_today(const recognize::Recognizer& recognizer);
  bool ask(const std::string& question);
  bool paper_accepted(const OpenedPrinter& opened);
  PrintOutcome fail(const std::string& name, const std::string& reason);
  // Opens the printer (asking about its paper), lets `checked` cancel with
  // the printer open and mapped, draws one page and finishes it.
  PrintOutcome print_page(const std::string& printer, const std::string& name,
                          const std::function<bool()>& checked, const std::function<void()>& draw);
  std::optional<double> asked_millimetres(const std::string& question);
  WaybillTexts shown_texts(double now) const;
  std::string append_log_line(const WaybillTexts& texts);

  view::MainView& view_;
  PrintSurface& surface_;
  std::string settings_path_;
  uintptr_t owner_;
  RowSource rows_;
  std::string last_printed_name_;
  std::string last_failure_;
  // Printers whose other paper the seller accepted in this run.
  std::set<std::string> paper_accepted_;
  std::optional<History> history_;
  bool reprint_today_ = false;  // the batch's records printed today print again, unasked
};

// "A4 210 × 297 毫米": the paper's name (when the driver has one) and size
// in whole millimetres.
std::string paper_text(const std::string& name, int width, int length);

}  // namespace print
