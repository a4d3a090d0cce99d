// The preview: what "打印" would put on the form, drawn by the print job's
// own layout code on a screen surface, over the 220 × 127 mm form's outline
// and, when the seller chose one for the template, a picture of the form.
// Texts that would be cut are framed in red.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/form_picture_win32.h"
#include "print/print_job.h"
#include "ui/button_control.h"
#include "ui/gdi_guards.h"
#include "view/main_view.h"

namespace app {

inline constexpr char kPreviewTitle[] = "快递单预览";

// What the preview works with; it outlives no part of it.
struct PreviewContext {
  HWND owner = nullptr;
  print::PrintJob* job = nullptr;
  view::MainView* view = nullptr;
  std::string settings_path;
  std::function<void(HWND asking)> print;  // the main window's "打印", asking in `asking`
  std::function<std::string()> printer;     // the printer that prints ("": the default)
};

// One object for the program's run; its window comes and goes. It shows
// the main window's current waybill whenever it is painted.
class PreviewWindow : public ui::WindowBase {
 public:
  // Opens the window, or brings the open one forward.
  void show(const PreviewContext& context);
  LRESULT message_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  using LayoutValues = std::array<int, print::kLayoutValues>;

  bool open();
  void add_button(ui::ButtonControl& button, int id, const char* text, int x, int width,
                  void (PreviewWindow::*action)());
  void attach_mouse_and_keys();
  // Whether the window that asked a question (a nested message loop, in
  // which it may have been closed) is still this object's window.
  bool still_open(HWND asking) const { return asking && handle() == asking; }

  int template_position() const;
  std::string template_name() const;
  void forget_edits_of_another_template();
  print::Waybill shown_waybill() const;
  void update_picture();

  void paint(HDC dc);
  void paint_note_and_form(HDC dc, const RECT& form);
  void paint_waybill(HDC dc, const RECT& form, const print::Waybill& waybill);
  void paint_selected_position(HDC dc, const print::Waybill& waybill);
  std::vector<RECT> item_rects(print::PrintSurface& surface,
                               const std::vector<print::PrintItem>& items) const;

  void print();
  void choose_picture();
  void remove_picture();
  void save_template();
  void close();

  // The printer's information context, mapped to tenths of a millimetre,
  // kept while the printer stays the same; null when it cannot be made
  // (the screen's fonts measure then).
  HDC printer_measure();

  void start_drag(int x, int y);
  void drag_to(int x, int y);
  void end_drag(int x, int y);
  void move_selected(int dx, int dy, const LayoutValues& from);
  bool arrow_key(int key);
  // Ctrl+Z: the positions before the last move.
  bool undo();
  // Items moved on the shown template and not saved.
  bool has_unsaved_moves() const;
  RECT form_rect() const;
  POINT form_point(int x, int y) const;

  PreviewContext context_;
  ui::OwnedDc printer_ic_;
  std::string printer_ic_name_;
  FormPicture picture_;
  std::string picture_path_;  // the one loaded; "-" for none yet
  // Items moved on the form, not yet saved: the template's values as moved,
  // for the template at `edited_position_`.
  std::optional<LayoutValues> edited_;
  std::vector<LayoutValues> undo_;  // the values before each move, oldest first
  int edited_position_ = -1;
  int selected_item_ = -1;
  std::vector<RECT> item_rects_;  // where each item was last drawn, tenths of a mm
  bool dragging_ = false;
  POINT drag_from_{};             // tenths of a mm
  LayoutValues drag_values_{};
  ui::ButtonControl print_button_, choose_picture_button_, remove_picture_button_,
      save_template_button_, close_button_;
};

// The form picture's path of the template of that name, "" for none; kept
// in the settings file under the template's name (a name a template may
// have; others have no picture).
std::string form_picture_path(const std::string& settings_path, const std::string& template_name);
bool set_form_picture_path(const std::string& settings_path, const std::string& template_name,
                           const std::string& path);

}  // namespace app
