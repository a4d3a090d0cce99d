// What the print job draws on: the printer canvas in the product, a
// recording surface in tests and the command-line tool. Coordinates are
// tenths of a millimetre, y growing downwards from the top of the page.
#pragma once

#include <string>
#include <string_view>

namespace print {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// One line of text in the current font, tenths of a millimetre.
struct TextSize {
  int width = 0, height = 0;
};

// The two values the print job hands the surface as the platform spells
// them (the canvas passes them on unchanged; tests record them as they are).
// The mapping: logical units of a tenth of a millimetre (the platform's
// MM_LOMETRIC).
inline constexpr int kTenthsOfAMillimetre = 2;
// Text-in-rectangle format: "&" prints as itself instead of underlining the
// next character (the platform's DT_NOPREFIX).
inline constexpr unsigned kNoPrefix = 0x800;

// What opening a printer gave.
struct OpenedPrinter {
  bool opened = false;
  std::string name;        // the printer opened: the default printer for an empty name
  bool form_fits = false;  // the page is the requested paper
  // The paper it prints on: the driver's name for it (may be empty) and the
  // page as printed, orientation applied, in tenths of a millimetre.
  std::string paper_name;
  int paper_width = 0, paper_length = 0;
  // Not opened because this computer has no printer of that name (the
  // settings came from another computer).
  bool missing = false;
};

class PrintSurface {
 public:
  virtual ~PrintSurface() = default;
  // Opens the printer asking for this orientation and paper; says whether
  // the driver really gave that paper.
  virtual OpenedPrinter open_on_printer(std::string_view name, int orientation, int paper_width,
                                        int paper_length) = 0;
  // Always kTenthsOfAMillimetre.
  virtual void set_mapping(int mode) = 0;
  virtual bool begin_document(std::string_view name) = 0;
  // Makes the font (face, character height in tenths of a millimetre,
  // bold) and takes it as current.
  virtual void set_font(std::string_view face, int height, bool bold) = 0;
  virtual void write_text(int x, int y, std::string_view text) = 0;
  // A line, one pixel wide, from one point to the other.
  virtual void draw_line(int x1, int y1, int x2, int y2) = 0;
  // The size one line of text takes in a font made as set_font makes it;
  // the current font stays as it is.
  virtual TextSize measure_text(std::string_view text, std::string_view face, int height,
                                bool bold) = 0;
  // Writes into the rectangle; in metric mappings the rectangle's top and
  // bottom are negated in the caller's record.
  virtual void write_text_in_rect(std::string_view text, Rect& rect, unsigned format) = 0;
  virtual bool finish_document() = 0;
  virtual void release_printer_dc() = 0;
};

// The printer a surface has open, released when the scope that opened it
// ends, however it ends (a question answered "否", a page that failed).
class PrinterRelease {
 public:
  explicit PrinterRelease(PrintSurface& surface) : surface_(surface) {}
  ~PrinterRelease() { surface_.release_printer_dc(); }
  PrinterRelease(const PrinterRelease&) = delete;
  PrinterRelease& operator=(const PrinterRelease&) = delete;

 private:
  PrintSurface& surface_;
};

}  // namespace print
