// Printing the shown waybill on the current printer, and a whole batch.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "print/duplicate_guard.h"
#include "print/print_surface.h"
#include "print/waybill_layout.h"
#include "view/asker.h"
#include "view/main_view.h"

namespace print {

// What "打印" would print now, for the printer and the preview alike.
struct Waybill {
  WaybillTexts texts;
  std::vector<PrintItem> items;  // at the template's positions plus the offsets
  std::string problem;           // why the selected template cannot print (no items then)
  std::string template_name;
  std::array<int, kLayoutValues> values{};  // the template's f1..f20
  int left = 0, top = 0;                    // the offsets, tenths of a millimetre
};

enum class PrintOutcome {
  printed,    // the page went to the printer and was logged
  cancelled,  // a question was answered "否": a batch goes on with the next record
  failed,     // nothing printed (template, printer or paper): a batch stops here
};

// What one print is: a record printed on its own, one of a batch's, or a
// parcel the seller chose to print again (the history's "补打所选"), and
// the window that asks its questions.
struct PrintRequest {
  enum class Kind { single, batch_record, chosen_reprint };
  Kind kind = Kind::single;
  // A batch's record whose duplicate printed today the batch asked about
  // once for all: printed again without asking; other days' still ask.
  bool reprint_today = false;
  view::Asker* asker = nullptr;  // who asks its questions; null: the job's own
  // A batch's record as its questions name it first ("第 3 条【张三】").
  std::string record;
  // A chosen reprint's number from the log: kept when the seller says the
  // reprint used no new form.
  std::string earlier_waybill_number;
};

class PrintJob {
 public:
  // `asker` asks the job's questions (the main window's). The templates
  // are the store's of `settings_path`, in the list's order.
  PrintJob(view::MainView& view, PrintSurface& surface, std::string settings_path,
           view::Asker& asker)
      : view_(view),
        surface_(surface),
        settings_path_(std::move(settings_path)),
        asker_(asker),
        guard_(settings_path_) {}

  // The "打印" button: checks the template, asks up to three questions (and
  // the paper question on a printer without the form), then prints one
  // page and appends the log line. A batch asked the template question
  // once for all its records and tells a failure that stops it; a chosen
  // reprint asks neither the duplicate nor the repeat question.
  PrintOutcome print_waybill(const std::string& printer, const PrintRequest& request = {});
  // The waybill the window shows, on the selected template, dated `now`.
  Waybill prepare(double now) const;
  // Asks about the printer's paper before any other question of a batch:
  // false when the seller refused it; a printer that has the form, whose
  // paper was accepted in this run or that cannot be opened (the print
  // says so) gives true.
  bool paper_ready(const std::string& printer);
  // The settings pane's save, on the printer chosen: its paper question
  // (when the choice changed) and whether the sender's address fits its
  // box, measured in the printer's fonts on the selected template; false
  // when the seller wants to edit first.
  bool settings_accepted(const std::string& printer, bool printer_changed);
  // "打印校准页": the calibration sheet at the current offsets, on the
  // form's paper (asking about the paper as any print does).
  PrintOutcome print_calibration_sheet(const std::string& printer);
  const std::string& last_printed_name() const { return last_printed_name_; }
  // Why the last print failed, as the status line said.
  const std::string& last_failure() const { return last_failure_; }
  // The texts the window shows, dated `now`.
  WaybillTexts shown_texts(double now) const;
  // The number of the form in the printer, as the box shows it ("" when
  // the seller does not number the forms).
  std::string form_number() const;
  // The box shows the next number of the selected template's stack.
  void show_form_number();
  // What the seller typed or scanned into the box becomes the selected
  // template's next number, when it is a form's number.
  void keep_typed_form_number();
  DuplicateGuard& guard() { return guard_; }
  // The question about a template that is not the default: true when it
  // is the default or the seller said yes.
  bool confirm_template();
  // Asked once, at the first print that finds no log, whether to create it
  // (true: it is created and that waybill is its first line). Without it
  // the log is only appended to, never created.
  // It is asked by the asker of the print that finds no log.
  void set_log_offer(std::function<bool(view::Asker&)> offer) { log_offer_ = std::move(offer); }
  view::Asker& asker() const { return asker_; }
  view::MainView& view() const { return view_; }

 private:
  std::string template_problem(int selected, const std::string& row) const;
  std::string template_question() const;
  bool confirmed(const WaybillTexts& texts, const PrintRequest& request);
  bool duplicate_confirmed(const WaybillTexts& texts, const PrintRequest& request);
  // Who asks a request's questions.
  view::Asker& asker(const PrintRequest& request) const {
    return request.asker ? *request.asker : asker_;
  }
  bool ask(const std::string& question, const PrintRequest& request = {});
  bool paper_accepted(const OpenedPrinter& opened, const PrintRequest& request = {});
  // A print that did not happen: the status line says why, and a failure
  // the seller did not choose is told in a box as well, unless a batch
  // tells it.
  PrintOutcome fail(const std::string& name, const std::string& reason, const PrintRequest& request,
                    bool told = false);
  OpenedPrinter open_printer(const std::string& printer);
  // The number a print is logged with, and whether it takes the form in
  // the printer (`advances`), after a chosen reprint's question.
  void settle_reprint_number(const PrintRequest& request, std::string& number, bool& advances);
  // The selected template's stack, as cfg.ini knows it ("" for none).
  std::string stack_identity() const;
  // The first print without a log asks whether to create it; false when
  // the seller wanted it and it could not be created.
  bool log_created_if_wanted(const PrintRequest& request);
  // Opens the printer (asking about its paper first), lets `checked` ask
  // the other questions with the printer open and mapped, draws one page
  // and finishes it.
  PrintOutcome print_page(const std::string& printer, const std::string& name,
                          const PrintRequest& request, const std::function<bool()>& checked,
                          const std::function<void()>& draw);

  view::MainView& view_;
  PrintSurface& surface_;
  std::string settings_path_;
  view::Asker& asker_;
  std::string last_printed_name_;
  std::string last_failure_;
  // Printers whose other paper the seller accepted in this run.
  std::set<std::string> paper_accepted_;
  DuplicateGuard guard_;
  std::function<bool(view::Asker&)> log_offer_;
  std::string shown_stack_;  // the template whose next number the box shows
};

// What a seller is told when the printer the settings name is not on this
// computer (the program's folder was copied from another one).
std::string missing_printer_text(const std::string& name);

// "A4 210 × 297 毫米": the paper's name (when the driver has one) and size
// in whole millimetres.
std::string paper_text(const std::string& name, int width, int length);

}  // namespace print
