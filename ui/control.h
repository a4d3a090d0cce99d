// What every control wrapper adds to a window: text and background colours
// and the brush made from them, answered to the parent's colour messages.
#pragma once

#include "ui/window_base.h"

namespace ui {

inline constexpr int kTransparent = -1;

class Control : public WindowBase {
 public:
  Control() = default;
  Control(const Control& other)
      : WindowBase(other),
        text_colour_(other.text_colour_),
        background_colour_(other.background_colour_) {}
  ~Control() override;

  HBRUSH child_colour(HWND child, HDC dc) override;
  void class_cleanup() override;

  // -1 (kTransparent): the control shows its parent's pixels.
  void set_background_colour(int colour, bool redraw = true);
  int background_colour() const { return background_colour_; }
  void set_text_colour(COLORREF colour, bool redraw = true);

 private:
  void delete_brush();

  COLORREF text_colour_ = 0;
  int background_colour_ = 0;
  HBRUSH brush_ = nullptr;
};

}  // namespace ui
