// Printing the shown waybill on the current printer, and a whole batch.
#pragma once

#include <cstdint>
#include <string>

#include "print/print_surface.h"
#include "print/waybill_layout.h"
#include "recognize/recognizer.h"
#include "view/main_view.h"

namespace print {

class PrintJob {
 public:
  // `owner` owns the confirmation boxes (the main window; 0 for none).
  PrintJob(view::MainView& view, PrintSurface& surface, std::string settings_path,
           uintptr_t owner = 0)
      : view_(view), surface_(surface), settings_path_(std::move(settings_path)), owner_(owner) {}

  // The "打印" button: asks up to three questions, then prints one page and
  // appends the log line.
  void print_waybill(const std::string& printer);
  // The "连打" button: every record of the last batch page in turn.
  void print_all(recognize::Recognizer& recognizer, const std::string& printer);

  const std::string& last_printed_name() const { return last_printed_name_; }

 private:
  bool confirmed();
  bool ask(const std::string& question);
  WaybillTexts shown_texts(double now) const;
  void draw(const std::vector<PrintItem>& items);
  void append_log_line(const WaybillTexts& texts) const;

  view::MainView& view_;
  PrintSurface& surface_;
  std::string settings_path_;
  uintptr_t owner_;
  std::string last_printed_name_;
};

}  // namespace print
