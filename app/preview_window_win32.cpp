#include "app/preview_window_win32.h"

#include <commdlg.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/form_picture_win32.h"
#include "app/screen_surface_win32.h"
#include "app/templates.h"
#include "print/layout_check.h"
#include "runtime/input_box.h"
#include "runtime/message_box.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"
#include "runtime/text_ops.h"
#include "ui/window_base.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetPreview";
constexpr char kPictureSection[] = "ditu";
// Pixels per millimetre, and where the form is drawn in the client area.
constexpr int kScale = 3;
constexpr int kMargin = 12, kToolbarHeight = 36, kNoteHeight = 40;
constexpr char kNote[] =
    "拖动各项（或选中后按方向键，每次 0.5 毫米）到底图上的位置，再点“保存模板”。底图不会打印。"
    "整体偏移时，在标题栏菜单中选“打印校准页”：放在快递单上量出中心十字偏离 110,60 毫米处多少，"
    "按提示输入，程序会改正并保存偏移。";
constexpr int kFormWidth = 220 * kScale, kFormHeight = 127 * kScale;
enum Command { kPrint = 1, kChoosePicture, kRemovePicture, kClose, kSaveTemplate };
constexpr int kArrowStep = 5;  // 0.5 mm

struct Preview {
  PreviewContext context;
  HWND window = nullptr;
  FormPicture picture;
  std::string picture_path;  // the one loaded
  // Items moved on the form, not yet saved: the template's values as moved,
  // for the template at `edited_position`.
  std::optional<std::array<int, print::kLayoutValues>> edited;
  int edited_position = -1;
  int selected_item = -1;
  std::vector<RECT> item_rects;  // where each item was drawn, tenths of a mm
  bool dragging = false;
  POINT drag_from{};             // tenths of a mm
  std::array<int, print::kLayoutValues> drag_values{};
};

std::unique_ptr<Preview> preview;

// Whether the window is still open after a question (a nested message
// loop, in which it may have been closed and its state freed).
bool still_open(HWND window) { return preview && preview->window == window; }

RECT form_rect() {
  return RECT{kMargin, kToolbarHeight + kMargin, kMargin + kFormWidth,
              kToolbarHeight + kMargin + kFormHeight};
}

int template_position() {
  return preview->context.view->list_selection(view::control::template_list);
}
std::string template_name() {
  return print::TemplateRow::read(template_row(preview->context.settings_path, template_position()))
      .name;
}

// The waybill as the preview shows it: as saved, or as moved on the form.
print::Waybill shown_waybill() {
  print::Waybill w = preview->context.job->prepare(rt::now());
  if (preview->edited && preview->edited_position != template_position()) {
    preview->edited.reset();  // another template was chosen
    preview->selected_item = -1;
  }
  if (preview->edited && w.problem.empty()) {
    w.values = *preview->edited;
    w.items = print::waybill_items(w.values, w.left, w.top, w.texts);
  }
  return w;
}

// A pixel of the client area as tenths of a millimetre on the form.
POINT form_point(int x, int y) {
  RECT form = form_rect();
  return POINT{(x - form.left) * 10 / kScale, (y - form.top) * 10 / kScale};
}

// The picture of the selected template, loaded when it changed.
void update_picture() {
  std::string path = form_picture_path(preview->context.settings_path, template_name());
  if (path == preview->picture_path) return;
  preview->picture_path = path;
  if (!preview->picture.load(path)) preview->picture.clear();
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
  HPEN pen = CreatePen(PS_SOLID, 6, colour);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, r.left - margin, r.top - margin, r.right + margin, r.bottom + margin);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}

// The item being moved, framed in blue.
void frame_selection(HDC dc, RECT r) { frame(dc, r, RGB(0, 90, 220), 18); }

// A red frame around what would be cut, in the form's tenths of a mm.
void frame_problem(HDC dc, print::PrintSurface& surface, const print::PrintItem& item) {
  frame(dc, item_rect(surface, item), RGB(220, 0, 0), 10);
}

void paint(HDC dc) {
  RECT form = form_rect();
  RECT note{form.left, form.bottom + 8, form.right, form.bottom + 8 + kNoteHeight};
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, kNote, -1, &note, DT_WORDBREAK);
  SelectObject(dc, old_font);
  update_picture();
  if (preview->picture.loaded()) preview->picture.draw(dc, form);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, form.left - 1, form.top - 1, form.right + 1, form.bottom + 1);
  SelectObject(dc, old_brush);

  print::Waybill waybill = shown_waybill();
  SetBkMode(dc, TRANSPARENT);
  if (!waybill.problem.empty()) {
    SetTextColor(dc, RGB(220, 0, 0));
    RECT text = form;
    InflateRect(&text, -10, -10);
    DrawTextA(dc, waybill.problem.c_str(), int(waybill.problem.size()), &text, DT_WORDBREAK);
    return;
  }
  // The form's tenths of a millimetre onto its rectangle.
  int saved = SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, print::kFormWidth, 1270, nullptr);
  SetViewportExtEx(dc, kFormWidth, kFormHeight, nullptr);
  SetViewportOrgEx(dc, form.left, form.top, nullptr);
  SetTextColor(dc, RGB(0, 0, 0));
  {
    ScreenSurface surface(dc);
    print::draw_items(surface, waybill.items);
    for (const print::LayoutProblem& p : print::layout_problems(surface, waybill.items))
      frame_problem(dc, surface, waybill.items[p.item]);
    preview->item_rects.clear();
    for (const print::PrintItem& item : waybill.items)
      preview->item_rects.push_back(item_rect(surface, item));
    if (preview->selected_item >= 0 && size_t(preview->selected_item) < waybill.items.size())
      frame_selection(dc, preview->item_rects[size_t(preview->selected_item)]);
  }
  RestoreDC(dc, saved);
}

void choose_picture() {
  HWND window = preview->window;
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
    rt_message_box("这个文件不是能打开的图片（BMP、PNG 或 JPEG）。", "注意", RT_MB_OK | RT_MB_ICONWARNING,
                   reinterpret_cast<uintptr_t>(window));
    return;
  }
  preview->picture_path.clear();  // loaded again at the next paint
  std::string settings = preview->context.settings_path;
  if (!set_form_picture_path(settings, template_name(), path))
    rt_message_box(("底图设置无法写入 " + settings).c_str(), "注意", RT_MB_OK | RT_MB_ICONWARNING,
                   reinterpret_cast<uintptr_t>(window));
}

// Moving items: the mouse drags the one under it, the arrow keys move the
// chosen one 0.5 mm.
void start_drag(int x, int y) {
  POINT at = form_point(x, y);
  print::Waybill w = shown_waybill();
  preview->selected_item = -1;
  for (size_t i = preview->item_rects.size(); i-- > 0;)
    if (PtInRect(&preview->item_rects[i], at)) {
      preview->selected_item = int(i);
      break;
    }
  if (preview->selected_item < 0 || !w.problem.empty()) return;
  preview->edited = w.values;
  preview->edited_position = template_position();
  preview->dragging = true;
  preview->drag_from = at;
  preview->drag_values = w.values;
  SetCapture(preview->window);
  SetFocus(preview->window);
}

void move_selected(int dx, int dy, const std::array<int, print::kLayoutValues>& from) {
  if (!preview->edited || preview->selected_item < 0) return;
  size_t x = size_t(print::kItemFields[size_t(preview->selected_item)] - 1);
  std::array<int, print::kLayoutValues> values = *preview->edited;
  values[x] = from[x] + dx;
  values[x + 1] = from[x + 1] + dy;
  preview->edited = values;
  InvalidateRect(preview->window, nullptr, TRUE);
}

void drag_to(int x, int y) {
  if (!preview->dragging) return;
  POINT at = form_point(x, y);
  move_selected(at.x - preview->drag_from.x, at.y - preview->drag_from.y, preview->drag_values);
}

bool arrow_key(int key) {
  int dx = key == VK_LEFT ? -kArrowStep : key == VK_RIGHT ? kArrowStep : 0;
  int dy = key == VK_UP ? -kArrowStep : key == VK_DOWN ? kArrowStep : 0;
  if ((dx == 0 && dy == 0) || !preview->edited) return false;
  move_selected(dx, dy, *preview->edited);
  return true;
}

// "保存模板": the moved positions as a template of the seller's own; a
// server's or built-in template is never changed in place, a copy is made
// under the name the seller gives. What is saved is taken before the name
// is asked for; a preview closed meanwhile saves nothing.
void save_template() {
  print::Waybill w = shown_waybill();
  HWND window = preview->window;
  auto tell = [&](const std::string& text) {
    rt_message_box(text.c_str(), "注意", RT_MB_OK | RT_MB_ICONWARNING,
                   reinterpret_cast<uintptr_t>(window));
  };
  if (!w.problem.empty()) return tell(w.problem);
  std::string settings = preview->context.settings_path;
  view::MainView& view = *preview->context.view;
  int position = template_position();
  std::string picture = form_picture_path(settings, template_name());  // goes with the template
  bool own = is_own_template(settings, position);
  std::string name = own ? w.template_name : "我的" + w.template_name;
  for (;;) {
    std::string prompt = own ? "模板名称：" : "服务器和内置的模板不会被改动，另存为你自己的模板，名称：";
    std::optional<std::string> typed =
        rt::ask_text({prompt, "保存模板", name, 1, reinterpret_cast<uintptr_t>(window)});
    if (!typed || !still_open(window)) return;
    name = std::string(rt::trim(*typed).view());
    if (is_template_name(name)) break;
    tell("模板名称不能为空，不能超过 32 个字节，也不能含有 , = [ ] ; 这些符号。");
    if (!still_open(window)) return;
  }
  std::string row = print::TemplateRow{name, w.values}.text();
  int saved = save_own_template(settings, position, row);
  if (saved < 0) return tell("模板无法写入 " + settings);
  fill_template_list(view, settings);
  view.list_select(view::control::template_list, saved);
  if (!picture.empty()) set_form_picture_path(settings, name, picture);
  preview->edited.reset();
  view.set_status("已保存模板【" + name + "】");
}

void command(int id) {
  HWND window = preview->window;
  switch (id) {
    case kPrint:
      if (preview->context.print) preview->context.print(window);
      break;
    case kChoosePicture: choose_picture(); break;
    case kRemovePicture:
      set_form_picture_path(preview->context.settings_path, template_name(), "");
      preview->picture_path = "-";
      break;
    case kClose: DestroyWindow(window); return;
    case kSaveTemplate: save_template(); break;
  }
  if (still_open(window)) InvalidateRect(window, nullptr, TRUE);
}

LRESULT handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (preview && preview->window == window) paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ACTIVATE:
      // The main window may have changed what is shown.
      if (LOWORD(wparam) != WA_INACTIVE) InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_COMMAND:
      if (preview && preview->window == window) command(LOWORD(wparam));
      return 0;
    case WM_LBUTTONDOWN:
      if (preview && preview->window == window) {
        start_drag(int16_t(LOWORD(lparam)), int16_t(HIWORD(lparam)));
        InvalidateRect(window, nullptr, TRUE);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (preview && preview->window == window) drag_to(int16_t(LOWORD(lparam)), int16_t(HIWORD(lparam)));
      return 0;
    case WM_LBUTTONUP:
      if (preview && preview->window == window) {
        drag_to(int16_t(LOWORD(lparam)), int16_t(HIWORD(lparam)));
        preview->dragging = false;
        ReleaseCapture();
      }
      return 0;
    case WM_KEYDOWN:
      if (preview && preview->window == window && arrow_key(int(wparam))) return 0;
      break;
    case WM_NCDESTROY:
      if (preview && preview->window == window) preview.reset();
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void add_button(HWND window, int id, const char* text, int x, int width) {
  HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 6,
                                width, 24, window, reinterpret_cast<HMENU>(intptr_t(id)),
                                GetModuleHandleA(nullptr), nullptr);
  SendMessageA(button, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

}  // namespace

std::string form_picture_path(const std::string& settings_path, const std::string& template_name) {
  if (!is_template_name(template_name)) return {};
  return std::string(rt::ini_read(settings_path, kPictureSection, template_name).view());
}

bool set_form_picture_path(const std::string& settings_path, const std::string& template_name,
                           const std::string& path) {
  return is_template_name(template_name) &&
         rt::ini_write(settings_path, kPictureSection, template_name, path);
}

void show_preview(const PreviewContext& context) {
  if (preview) {
    preview->context = context;
    ShowWindow(preview->window, SW_SHOWNORMAL);
    SetForegroundWindow(preview->window);
    InvalidateRect(preview->window, nullptr, TRUE);
    return;
  }
  if (!ui::register_window_class(kClass, ui::guarded_procedure<handle>)) return;
  RECT frame{0, 0, kFormWidth + 2 * kMargin,
             kToolbarHeight + kFormHeight + 2 * kMargin + kNoteHeight};
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND window = CreateWindowExA(0, kClass, kPreviewTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, context.owner,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return;
  preview = std::make_unique<Preview>();
  preview->context = context;
  preview->window = window;
  preview->picture_path = "-";  // nothing loaded yet
  add_button(window, kPrint, "打印", kMargin, 70);
  add_button(window, kChoosePicture, "选择底图…", kMargin + 80, 90);
  add_button(window, kRemovePicture, "去掉底图", kMargin + 180, 80);
  add_button(window, kSaveTemplate, "保存模板", kMargin + 270, 80);
  add_button(window, kClose, "关闭", kMargin + kFormWidth - 70, 70);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

}  // namespace app
