// The drawing surface: drawing attributes applied to a bound device context
// (and a mirror), and, bound to a printer, the print surface that opens a
// printer with a paper size, brackets documents and pages and writes text
// at positions in tenths of a millimetre.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/window_base.h"

namespace ui {

// What opening a printer for a paper found.
struct PaperFit {
  bool opened = false;
  bool fits = false;  // the page the printer really prints is the wanted paper
  // The paper it prints on: the driver's name for it (may be empty) and
  // the page, orientation applied, in tenths of a millimetre.
  std::string paper_name;
  int width = 0, length = 0;
};

// The font description read back from a font handle.
struct FontSpec {
  std::string face;
  LONG height = 0;
  bool underline = false, strike_out = false, italic = false, bold = false;
  LONG escapement = 0;
};

FontSpec font_spec_of(HFONT font);
// CreateFontA from a description: weight 800 or 0, default character set; width,
// orientation, precision, quality and pitch are never carried over.
HFONT make_font(const FontSpec& described, LONG height);

class Canvas : public WindowBase {
 public:
  Canvas();
  ~Canvas() override;
  Canvas(const Canvas&) = delete;
  WindowBase* copy() const override { return nullptr; }  // a canvas owns its DCs

  void bind_target(HDC dc);
  void bind_mirror(HDC dc);
  HDC target_dc() const { return target_; }
  HDC mirror_dc() const { return mirror_; }

  // Drawing, on the target and then the mirror.
  bool pixel(int x, int y, COLORREF colour);
  bool line(int x1, int y1, int x2, int y2);
  bool ellipse(int left, int top, int right, int bottom);
  bool arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  bool chord(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  bool pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  bool rectangle(int left, int top, int right, int bottom);
  bool filled_rectangle(const RECT& rect, HBRUSH brush);
  bool rounded_rectangle(int left, int top, int right, int bottom, int width, int height);
  bool polygon(const std::vector<POINT>& points);

  // Positions: y grows downwards for callers in every mapping mode.
  void move_pen(const int* x, const int* y);
  POINT current_position() const;
  void write_at_pen(std::string_view text);
  void write_text(const int* x, const int* y, std::string_view text);
  // Negates the caller's rectangle's top and bottom in metric modes.
  int write_text_in_rect(std::string_view text, RECT& rect, UINT format);
  int text_width(std::string_view text) const;
  int text_height(std::string_view text) const;
  void set_text_colour(COLORREF colour);
  void set_background_colour(int colour);  // -1: transparent

  // Mapping mode 1..6 (the platform's MM_ values); kReadMapping (0), as the
  // toolkit has it, changes nothing and gives the stored mode.
  static constexpr int kReadMapping = 0;
  int set_mapping(int mode = kReadMapping);
  int mapping() const { return mapping_; }
  // What convert_units converts, by the toolkit's numbers 1 to 4 (others
  // leave the value as it is); logical units are the mapping's.
  enum UnitConversion {
    units_to_pixels_across = 1,
    units_to_pixels_down = 2,
    pixels_to_units_across = 3,
    pixels_to_units_down = 4,
  };
  int convert_units(int n, int kind) const;
  // Makes the metric mapping exact on the bound DCs: the mode's units per
  // inch against the device's pixels per inch. The metric modes themselves
  // scale by the device's size in whole millimetres, up to 0.5 % off (a
  // millimetre across a 220 mm form). The canvas keeps its mapping mode.
  void scale_by_resolution();
  int raster_operation(int mode = 0);
  // Takes the font handle over (it is destroyed here) and rebuilds it for
  // the mapping mode.
  void set_font(HFONT font);
  // Takes the font handle over as it is: its height is already in the
  // mapping mode's logical units.
  void take_font(HFONT font) { replace_font(font); }
  HFONT font() const { return font_; }

  // Printers.
  static std::string default_printer_name();
  static bool set_default_printer_name(std::string_view name);
  // Replaces `names` with the installed printers when there are any;
  // returns their count.
  static int list_printers(std::vector<std::string>& names);
  // Omitted values are 0 (an empty name: the default printer, stored back).
  bool open_on_printer(std::string* name, const int* paper_size, const int* orientation,
                       const int* paper_width, const int* paper_length);
  // Opens the printer on the driver's paper of width x length (tenths of a
  // millimetre, either way round, orientation set to match), else asks for
  // a user-defined paper of that size; then says what the printer really
  // prints on. An empty name is the default printer's, stored back.
  PaperFit open_for_paper(std::string& name, int width, int length);
  bool begin_document(std::string_view name);
  bool finish_document();
  bool begin_page();
  bool finish_page();
  bool cancel_document();
  void attach_printer_dc(HDC dc);
  void release_printer_dc();
  HDC printer_dc() const { return printer_; }

 private:
  void apply_attributes(HDC dc) const;
  void replace_font(HFONT font);
  template <typename Draw>
  bool on_both(Draw draw) {
    bool ok = target_ && draw(target_);
    if (mirror_) draw(mirror_);
    return ok;
  }
  int logical_y(int y) const { return mapping_ == MM_TEXT ? y : -y; }

  HDC target_ = nullptr;
  HDC mirror_ = nullptr;
  HBRUSH brush_ = nullptr;
  HFONT font_ = nullptr;
  HPEN pen_ = nullptr;
  COLORREF text_colour_ = 0;
  int background_colour_ = -1;
  int mapping_ = MM_LOMETRIC;
  int raster_operation_ = 0;
  HDC printer_ = nullptr;
};

}  // namespace ui
