// A print surface that writes down every call, for tests and slipjet-cli.
#pragma once

#include <string>
#include <vector>

#include "print/print_surface.h"

class RecordingSurface : public print::PrintSurface {
 public:
  print::OpenedPrinter open_on_printer(std::string_view name, int orientation, int width,
                                       int length) override {
    calls.push_back("open " + std::string(name) + " " + std::to_string(orientation) + " " +
                    std::to_string(width) + "x" + std::to_string(length));
    print::OpenedPrinter opened = paper;
    opened.opened = printer_opens && ++opens != failing_open;
    opened.name = name.empty() ? "默认打印机" : std::string(name);
    return opened;
  }
  void set_mapping(int mode) override { calls.push_back("mapping " + std::to_string(mode)); }
  bool begin_document(std::string_view name) override {
    calls.push_back("begin [" + std::string(name) + "]");
    return document_begins;
  }
  void set_font(std::string_view face, int size, bool bold) override {
    calls.push_back("font " + std::string(face) + " " + std::to_string(size) +
                    (bold ? " bold" : ""));
  }
  void draw_line(int x1, int y1, int x2, int y2) override {
    calls.push_back("line " + std::to_string(x1) + "," + std::to_string(y1) + "-" +
                    std::to_string(x2) + "," + std::to_string(y2));
  }
  // A model of a square CJK font: each byte half a character wide; not
  // recorded, it draws nothing.
  print::TextSize measure_text(std::string_view text, std::string_view, int height,
                               bool) override {
    return {int(text.size()) * height / 2, height};
  }
  void write_text(int x, int y, std::string_view text) override {
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " +
                    std::string(text));
  }
  void write_text_in_rect(std::string_view text, print::Rect& r, unsigned format) override {
    calls.push_back("box " + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
                    std::to_string(r.right) + "," + std::to_string(r.bottom) + " " +
                    std::to_string(format) + " " + std::string(text));
  }
  bool finish_document() override {
    calls.push_back("finish");
    return document_finishes;
  }
  void release_printer_dc() override { calls.push_back("release"); }

  std::vector<std::string> calls;
  bool printer_opens = true;
  int failing_open = 0;  // the nth opening fails (1-based); 0: none
  int opens = 0;
  bool document_begins = true;
  bool document_finishes = true;
  // The paper the printer gives: the form unless a test says otherwise.
  print::OpenedPrinter paper{true, {}, true, {}, 2200, 1270};
};
