// What the print job draws on: the printer canvas in the product, a
// recording surface in tests and the command-line tool. Coordinates are
// tenths of a millimetre, y growing downwards from the top of the page.
#pragma once

#include <string_view>

namespace print {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class PrintSurface {
 public:
  virtual ~PrintSurface() = default;
  // Opens the printer with this orientation and paper size; false when it
  // cannot be opened.
  virtual bool open_on_printer(std::string_view name, int orientation, int paper_width,
                               int paper_length) = 0;
  virtual void set_mapping(int mode) = 0;
  virtual bool begin_document(std::string_view name) = 0;
  // Makes the font (face, size in points, bold) and takes it as current.
  virtual void set_font(std::string_view face, int size, bool bold) = 0;
  virtual void write_text(int x, int y, std::string_view text) = 0;
  // Writes into the rectangle; in metric mappings the rectangle's top and
  // bottom are negated in the caller's record.
  virtual void write_text_in_rect(std::string_view text, Rect& rect, unsigned format) = 0;
  virtual bool finish_document() = 0;
  virtual void release_printer_dc() = 0;
};

}  // namespace print
