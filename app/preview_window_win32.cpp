#include "app/preview_window_win32.h"

#include <commdlg.h>

#include <climits>

#include "app/screen_surface_win32.h"
#include "app/templates.h"
#include "app/window_asker_win32.h"
#include "print/calibration_sheet.h"
#include "print/layout_check.h"
#include "print/template_store.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"
#include "runtime/text_encoding.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"
#include "ui/canvas.h"
#include "ui/dpi.h"
#include "ui/gdi_guards.h"
#include "ui/text_drawing.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetPreview";
constexpr char kNoPictureYet[] = "-";
// Pixels per millimetre, and where the form is drawn in the client area.
constexpr int kScale = 3;
constexpr int kMargin = 12, kToolbarHeight = 36, kReadoutHeight = 20, kNoteHeight = 40;
constexpr char kNote[] =
    "拖动各项（或选中后按方向键，每次 0.5 毫米；Ctrl+Z 撤销）到底图上的位置，再点“保存模板”。"
    "底图不会打印。整体偏移时，点主窗口的“打印校准页”：量出大十字的中心离纸的左边、上边各多少毫米，"
    "按提示填入，程序会改正并保存偏移。";
constexpr int kFormWidth = 220 * kScale, kFormHeight = 127 * kScale;
enum ButtonId { kPrint = 1, kChoosePicture, kRemovePicture, kClose, kSaveTemplate };
constexpr int kArrowStep = 5;  // 0.5 mm

// The form's tenths of a millimetre onto its rectangle of the client area.
void map_form(HDC dc, const RECT& form) {
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, print::kFormWidth, 1270, nullptr);
  SetViewportExtEx(dc, form.right - form.left, form.bottom - form.top, nullptr);
  SetViewportOrgEx(dc, form.left, form.top, nullptr);
}

// Where an item is drawn (at least 6 mm wide, so an empty one can be
// caught), in the form's tenths of a mm.
RECT item_rect(print::PrintSurface& surface, const print::PrintItem& item) {
  RECT r{item.x, item.y, item.x + print::kBoxWidth, item.y + print::kBoxHeight};
  if (!item.in_box) {
    print::TextSize size = surface.measure_text(item.text.empty() ? " " : item.text,
                                                print::kPrintFace,
                                                print::character_height(item.font_size), true);
    r.right = item.x + std::max(size.width, 60);
    r.bottom = item.y + size.height;
  }
  return r;
}

void frame(HDC dc, RECT r, COLORREF colour, int margin) {
  ui::OwnedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 6, colour));
  ui::ScopedSelect with_pen(dc, pen.get());
  ui::ScopedSelect hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, r.left - margin, r.top - margin, r.right + margin, r.bottom + margin);
}

// The item being moved, framed in blue.
void frame_selection(HDC dc, RECT r) { frame(dc, r, RGB(0, 90, 220), 18); }
// What would be cut, framed in red.
void frame_problem(HDC dc, RECT r) { frame(dc, r, RGB(220, 0, 0), 10); }

// Mouse positions come as the low word unsigned; while the mouse is
// captured a drag past the window's left or top edge is negative.
int signed_coordinate(int value) { return int16_t(value); }

}  // namespace

std::string form_picture_path(const std::string& settings_path, const std::string& template_name) {
  if (!is_template_name(template_name)) return {};
  return settings::CfgFile(settings_path).form_picture(template_name);
}

bool set_form_picture_path(const std::string& settings_path, const std::string& template_name,
                           const std::string& path) {
  return is_template_name(template_name) &&
         settings::CfgFile(settings_path).set_form_picture(template_name, path);
}

// Where the form is drawn, at the screen's scale.
RECT PreviewWindow::form_rect() const {
  return RECT{px(kMargin), px(kToolbarHeight + kMargin), px(kMargin + kFormWidth),
              px(kToolbarHeight + kMargin + kFormHeight)};
}

// A pixel of the client area as tenths of a millimetre on the form.
POINT PreviewWindow::form_point(int x, int y) const {
  RECT form = form_rect();
  return POINT{MulDiv(x - form.left, print::kFormWidth, form.right - form.left),
               MulDiv(y - form.top, 1270, form.bottom - form.top)};
}

void PreviewWindow::show(const PreviewContext& context) {
  context_ = context;
  if (!handle() && !open()) return;
  ShowWindow(handle(), SW_SHOWNORMAL);
  SetForegroundWindow(handle());
  invalidate();
  update();
}

bool PreviewWindow::open() {
  if (!create_beside(context_.owner, kClass, kPreviewTitle, kFormWidth + 2 * kMargin,
                     kToolbarHeight + kFormHeight + 2 * kMargin + kReadoutHeight + kNoteHeight))
    return false;
  // A new window starts from the template as saved.
  picture_.clear();
  picture_path_ = kNoPictureYet;
  edited_.reset();
  undo_.clear();
  edited_position_ = selected_item_ = -1;
  dragging_ = false;
  add_button(print_button_, kPrint, "打印", kMargin, 70, &PreviewWindow::print);
  add_button(choose_picture_button_, kChoosePicture, "选择底图…", kMargin + 80, 90, &PreviewWindow::choose_picture);
  add_button(remove_picture_button_, kRemovePicture, "去掉底图", kMargin + 180, 80, &PreviewWindow::remove_picture);
  add_button(save_template_button_, kSaveTemplate, "保存模板", kMargin + 270, 80, &PreviewWindow::save_template);
  add_button(close_button_, kClose, "关闭", kMargin + kFormWidth - 70, 70, &PreviewWindow::close);
  on_paint([this](HDC dc, int, int, int, int) {
    paint(dc);
    return 1;
  });
  attach_mouse_and_keys();
  return true;
}

// Every button's action is followed by a repaint, unless it closed the
// window.
void PreviewWindow::add_button(ui::ButtonControl& button, int id, const char* text, int x,
                               int width, void (PreviewWindow::*action)()) {
  button.create(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, px(x), px(6), px(width),
                px(24), handle(), reinterpret_cast<HMENU>(intptr_t(id)));
  ui::close_on_escape(button);
  button.on_click([this, action] {
    HWND window = handle();
    (this->*action)();
    if (still_open(window)) invalidate();
    return 0;
  });
}

// Moving items: the mouse drags the one under it, the arrow keys move the
// chosen one 0.5 mm.
void PreviewWindow::attach_mouse_and_keys() {
  on_left_button_down([this](int x, int y, int) {
    start_drag(signed_coordinate(x), signed_coordinate(y));
    invalidate();
    return 1;
  });
  on_mouse_move([this](int x, int y, int) {
    drag_to(signed_coordinate(x), signed_coordinate(y));
    return 1;
  });
  on_left_button_up([this](int x, int y, int) {
    end_drag(signed_coordinate(x), signed_coordinate(y));
    return 1;
  });
  on_key_down([this](int key, int) -> intptr_t {
    if (key == VK_ESCAPE) return post(WM_CLOSE), 1;
    return arrow_key(key) ? 1 : 0;
  });
  // Ctrl+Z arrives as its control character, as an edit box gets it.
  constexpr int kCtrlZ = 0x1A;
  on_character([this](int code) -> intptr_t { return code == kCtrlZ ? (undo(), 1) : 0; });
}

LRESULT PreviewWindow::message_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // The main window may have changed what is shown.
  if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) invalidate();
  // The title bar's close, Esc and "关闭" all close the same way.
  if (message == WM_CLOSE) return close(), 0;
  return WindowBase::message_method(window, message, wparam, lparam);
}

int PreviewWindow::template_position() const {
  return context_.view->list_selection(view::control::template_list);
}

std::string PreviewWindow::template_name() const {
  return print::TemplateRow::read(template_row(context_.settings_path, template_position())).name;
}

// Moves made on one template are not carried to another the seller chose.
void PreviewWindow::forget_edits_of_another_template() {
  if (!edited_ || edited_position_ == template_position()) return;
  edited_.reset();
  undo_.clear();
  selected_item_ = -1;
}

// The waybill as the preview shows it: as saved, or as moved on the form.
print::Waybill PreviewWindow::shown_waybill() const {
  print::Waybill w = context_.job->prepare(rt::now());
  if (edited_ && edited_position_ == template_position() && w.problem.empty()) {
    w.values = *edited_;
    w.items = print::waybill_items(w.values, w.left, w.top, w.texts);
  }
  return w;
}

// The picture of the selected template, loaded when it changed.
void PreviewWindow::update_picture() {
  std::string path = form_picture_path(context_.settings_path, template_name());
  if (path == picture_path_) return;
  picture_path_ = path;
  if (!picture_.load(path)) picture_.clear();
}

std::vector<RECT> PreviewWindow::item_rects(print::PrintSurface& surface,
                                            const std::vector<print::PrintItem>& items) const {
  std::vector<RECT> rects;
  rects.reserve(items.size());
  for (const print::PrintItem& item : items) rects.push_back(item_rect(surface, item));
  return rects;
}

void PreviewWindow::paint(HDC dc) {
  forget_edits_of_another_template();
  RECT form = form_rect();
  paint_note_and_form(dc, form);
  print::Waybill waybill = shown_waybill();
  paint_waybill(dc, form, waybill);
  paint_selected_position(dc, waybill);
}

// On a line of its own under the form (never under a button): the chosen
// item's name and its place on the template, in millimetres, which a drag
// or an arrow key changes; with none chosen, the number of the form this
// waybill is printed on.
void PreviewWindow::paint_selected_position(HDC dc, const print::Waybill& waybill) {
  std::string text;
  if (edited_ && selected_item_ >= 0 && size_t(selected_item_) < waybill.items.size()) {
    size_t x = size_t(print::kItemFields[size_t(selected_item_)] - 1);
    auto mm = [](int tenths) { return print::millimetres_text(tenths / 10.0); };
    text = "【" + std::string(waybill.items[size_t(selected_item_)].label) + "】 左 " +
           mm((*edited_)[x]) + " 毫米，上 " + mm((*edited_)[x + 1]) + " 毫米";
  } else if (std::string number = context_.job->form_number(); !number.empty()) {
    text = "打印时记为运单号 " + number;
  }
  if (text.empty()) return;
  RECT form = form_rect();
  RECT place{form.left, form.bottom + px(4), form.right, form.bottom + px(4 + kReadoutHeight)};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 90, 220));
  ui::ScopedSelect font(dc, ui::gui_font());
  ui::draw_text_in_rect(dc, text, place, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void PreviewWindow::paint_note_and_form(HDC dc, const RECT& form) {
  int top = form.bottom + px(8 + kReadoutHeight);
  RECT note{form.left, top, form.right, top + px(kNoteHeight)};
  SetBkMode(dc, TRANSPARENT);
  {
    ui::ScopedSelect font(dc, ui::gui_font());
    DrawTextA(dc, kNote, -1, &note, DT_WORDBREAK);
  }
  update_picture();
  if (picture_.loaded()) picture_.draw(dc, form);
  ui::ScopedSelect hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, form.left - 1, form.top - 1, form.right + 1, form.bottom + 1);
}

void PreviewWindow::paint_waybill(HDC dc, const RECT& form, const print::Waybill& waybill) {
  SetBkMode(dc, TRANSPARENT);
  if (!waybill.problem.empty()) {
    SetTextColor(dc, RGB(220, 0, 0));
    RECT text = form;
    InflateRect(&text, -10, -10);
    std::wstring problem = rt::widen(waybill.problem);
    DrawTextW(dc, problem.c_str(), int(problem.size()), &text, DT_WORDBREAK);
    return;
  }
  ui::ScopedSavedDc saved(dc);
  map_form(dc, form);
  SetTextColor(dc, RGB(0, 0, 0));
  // The paper's edge cuts as it does on the form.
  IntersectClipRect(dc, 0, 0, print::kFormWidth, 1270);
  ScreenSurface surface(dc, printer_measure());
  print::draw_items(surface, waybill.items);
  std::vector<RECT> rects = item_rects(surface, waybill.items);
  for (const print::LayoutProblem& p : print::layout_problems(surface, waybill.items))
    frame_problem(dc, rects[p.item]);
  if (selected_item_ >= 0 && size_t(selected_item_) < rects.size())
    frame_selection(dc, rects[size_t(selected_item_)]);
}

void PreviewWindow::print() {
  if (context_.print) context_.print(handle());
}

void PreviewWindow::choose_picture() {
  HWND window = handle();
  char path[MAX_PATH] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window;
  dialog.lpstrFilter = "快递单图片 (*.bmp;*.png;*.jpg;*.jpeg)\0*.bmp;*.png;*.jpg;*.jpeg\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&dialog) || !still_open(window)) return;
  FormPicture probe;
  if (!probe.load(path)) {
    asker_of(window).tell("这个文件不是能打开的图片（BMP、PNG 或 JPEG）。", "注意", RT_MB_ICONWARNING);
    return;
  }
  picture_path_.clear();  // loaded again at the next paint
  std::string settings = context_.settings_path;
  if (!set_form_picture_path(settings, template_name(), path))
    asker_of(window).tell("底图设置无法写入 " + settings, "注意", RT_MB_ICONWARNING);
}

void PreviewWindow::remove_picture() {
  std::string settings = context_.settings_path;
  if (!set_form_picture_path(settings, template_name(), "")) {
    asker_of(handle()).tell("底图没有去掉：底图设置无法写入 " + settings, "注意", RT_MB_ICONWARNING);
    return;
  }
  picture_path_ = kNoPictureYet;
}

// Moves not saved are never dropped without a word: "是" saves them first
// (the window stays when the name is cancelled), "取消" keeps the window.
void PreviewWindow::close() {
  if (has_unsaved_moves()) {
    HWND window = handle();
    int answer = asker_of(window).box("移动过的位置还没有保存。保存为模板吗？", "预览",
                                      RT_MB_YESNOCANCEL | RT_MB_ICONQUESTION);
    if (!still_open(window) || answer == RT_IDCANCEL) return;
    if (answer == RT_IDYES) {
      save_template();
      if (!still_open(window) || has_unsaved_moves()) return;
    }
  }
  DestroyWindow(handle());
}

bool PreviewWindow::has_unsaved_moves() const {
  if (!edited_ || edited_position_ != template_position()) return false;
  print::Waybill saved = context_.job->prepare(rt::now());
  return saved.problem.empty() && saved.values != *edited_;
}

// "保存模板": the moved positions as a template of the seller's own; a
// server's or built-in template is never changed in place, a copy is made
// under the name the seller gives. What is saved is taken before the name
// is asked for; a preview closed meanwhile saves nothing.
void PreviewWindow::save_template() {
  forget_edits_of_another_template();
  print::Waybill w = shown_waybill();
  HWND window = handle();
  view::BoxAsker asker = asker_of(window);
  auto tell = [&](const std::string& text) { asker.tell(text, "注意", RT_MB_ICONWARNING); };
  if (!w.problem.empty()) return tell(w.problem);
  std::string settings = context_.settings_path;
  view::MainView& view = *context_.view;
  int position = template_position();
  std::string picture = form_picture_path(settings, template_name());  // goes with the template
  print::TemplateStore store(settings);
  bool own = store.is_own(position);
  // Own templates have names of their own: two of one name could not be
  // told apart in the list.
  std::string name = own ? w.template_name : store.free_own_name("我的" + w.template_name);
  for (;;) {
    std::string prompt = own ? "模板名称：" : "服务器和内置的模板不会被改动，另存为你自己的模板，名称：";
    std::optional<std::string> typed = asker.typed(prompt, "保存模板", name);
    if (!typed || !still_open(window)) return;
    name = std::string(rt::trim(*typed).view());
    std::string problem = template_name_problem(name);
    if (problem.empty() && store.own_name_taken(name, own ? position : -1))
      problem = "已有名为【" + name + "】的模板，请换一个名称，例如【" + store.free_own_name(name) + "】。";
    if (problem.empty()) break;
    tell(problem);
    if (!still_open(window)) return;
  }
  std::string row = print::TemplateRow{name, w.values}.text();
  int saved = store.save_own(position, row);
  if (saved < 0) return tell("模板无法写入 " + settings);
  fill_template_list(view, settings);
  view.list_select(view::control::template_list, saved);
  if (!picture.empty()) set_form_picture_path(settings, name, picture);
  edited_.reset();
  view.set_status("已保存模板【" + name + "】");
}

HDC PreviewWindow::printer_measure() {
  std::string name = context_.printer ? context_.printer() : "";
  if (name.empty()) name = ui::Canvas::default_printer_name();
  if (printer_ic_ && name == printer_ic_name_) return printer_ic_.get();
  printer_ic_.reset(name.empty() ? nullptr : CreateICA("WINSPOOL", name.c_str(), nullptr, nullptr));
  printer_ic_name_ = name;
  if (printer_ic_) SetMapMode(printer_ic_.get(), MM_LOMETRIC);
  return printer_ic_.get();
}

void PreviewWindow::start_drag(int x, int y) {
  forget_edits_of_another_template();
  print::Waybill w = shown_waybill();
  selected_item_ = -1;
  if (!w.problem.empty()) return;
  POINT at = form_point(x, y);
  std::vector<RECT> rects;
  {
    // Hit-tested against the rectangles the items are painted in.
    ui::WindowDc dc(handle());
    ui::ScopedSavedDc saved(dc.get());
    map_form(dc.get(), form_rect());
    ScreenSurface surface(dc.get(), printer_measure());
    rects = item_rects(surface, w.items);
  }
  // The smallest item under the pointer: the phones inside an address box
  // are taken, not the box. Of equal ones, the one drawn last (on top).
  long smallest = LONG_MAX;
  for (size_t i = 0; i < rects.size(); ++i) {
    long area = long(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
    if (PtInRect(&rects[i], at) && area <= smallest) {
      smallest = area;
      selected_item_ = int(i);
    }
  }
  if (selected_item_ < 0) return;
  edited_ = w.values;
  edited_position_ = template_position();
  dragging_ = true;
  drag_from_ = at;
  drag_values_ = w.values;
  SetCapture(handle());
  focus();
}

void PreviewWindow::move_selected(int dx, int dy, const LayoutValues& from) {
  if (!edited_ || selected_item_ < 0) return;
  size_t x = size_t(print::kItemFields[size_t(selected_item_)] - 1);
  LayoutValues values = *edited_;
  values[x] = from[x] + dx;
  values[x + 1] = from[x + 1] + dy;
  edited_ = values;
  invalidate();
}

void PreviewWindow::drag_to(int x, int y) {
  if (!dragging_) return;
  POINT at = form_point(x, y);
  move_selected(at.x - drag_from_.x, at.y - drag_from_.y, drag_values_);
}

void PreviewWindow::end_drag(int x, int y) {
  if (!dragging_) return;
  drag_to(x, y);
  dragging_ = false;
  ReleaseCapture();
  if (edited_ && *edited_ != drag_values_) undo_.push_back(drag_values_);
}

bool PreviewWindow::undo() {
  if (undo_.empty() || !edited_) return false;
  edited_ = undo_.back();
  undo_.pop_back();
  invalidate();
  return true;
}

bool PreviewWindow::arrow_key(int key) {
  int dx = key == VK_LEFT ? -kArrowStep : key == VK_RIGHT ? kArrowStep : 0;
  int dy = key == VK_UP ? -kArrowStep : key == VK_DOWN ? kArrowStep : 0;
  if ((dx == 0 && dy == 0) || !edited_) return false;
  undo_.push_back(*edited_);
  move_selected(dx, dy, *edited_);
  return true;
}

}  // namespace app
