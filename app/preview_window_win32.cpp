#include "app/preview_window_win32.h"

#include <commdlg.h>

#include <memory>

#include "app/form_picture_win32.h"
#include "app/screen_surface_win32.h"
#include "print/layout_check.h"
#include "runtime/message_box.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetPreview";
constexpr char kPictureSection[] = "ditu";
// Pixels per millimetre, and where the form is drawn in the client area.
constexpr int kScale = 3;
constexpr int kMargin = 12, kToolbarHeight = 36, kNoteHeight = 40;
constexpr char kNote[] =
    "底图只用于预览，不会打印。位置不准时，在标题栏菜单中选“打印校准页”：把打印出的校准页"
    "放在快递单上，量出中心十字偏离 110,60 毫米处多少，按提示输入，程序会改正并保存偏移。";
constexpr int kFormWidth = 220 * kScale, kFormHeight = 127 * kScale;
enum Command { kPrint = 1, kChoosePicture, kRemovePicture, kClose };

struct Preview {
  PreviewContext context;
  HWND window = nullptr;
  FormPicture picture;
  std::string picture_path;  // the one loaded
};

std::unique_ptr<Preview> preview;

RECT form_rect() {
  return RECT{kMargin, kToolbarHeight + kMargin, kMargin + kFormWidth,
              kToolbarHeight + kMargin + kFormHeight};
}

int template_number() {
  return preview->context.view->list_selection(view::control::template_list) + 1;
}

// The picture of the selected template, loaded when it changed.
void update_picture() {
  std::string path = form_picture_path(preview->context.settings_path, template_number());
  if (path == preview->picture_path) return;
  preview->picture_path = path;
  if (!preview->picture.load(path)) preview->picture.clear();
}

// A red frame around what would be cut, in the form's tenths of a mm.
void frame_problem(HDC dc, print::PrintSurface& surface, const print::PrintItem& item) {
  RECT r{item.x, item.y, item.x + print::kBoxWidth, item.y + print::kBoxHeight};
  if (!item.in_box) {
    print::TextSize size = surface.measure_text(item.text.empty() ? " " : item.text,
                                                print::kPrintFace,
                                                print::character_height(item.font_size), true);
    r.right = item.x + std::max(size.width, 60);
    r.bottom = item.y + size.height;
  }
  HPEN pen = CreatePen(PS_SOLID, 6, RGB(220, 0, 0));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, r.left - 10, r.top - 10, r.right + 10, r.bottom + 10);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
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

  print::Waybill waybill = preview->context.job->prepare(rt::now());
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
  }
  RestoreDC(dc, saved);
}

void choose_picture() {
  char path[MAX_PATH] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = preview->window;
  dialog.lpstrFilter = "快递单图片 (*.bmp;*.png;*.jpg;*.jpeg)\0*.bmp;*.png;*.jpg;*.jpeg\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&dialog)) return;
  FormPicture probe;
  if (!probe.load(path)) {
    rt_message_box("这个文件不是能打开的图片（BMP、PNG 或 JPEG）。", "注意", RT_MB_OK | RT_MB_ICONWARNING,
                   reinterpret_cast<uintptr_t>(preview->window));
    return;
  }
  if (!set_form_picture_path(preview->context.settings_path, template_number(), path))
    rt_message_box(("底图设置无法写入 " + preview->context.settings_path).c_str(), "注意",
                   RT_MB_OK | RT_MB_ICONWARNING, reinterpret_cast<uintptr_t>(preview->window));
  preview->picture_path.clear();  // loaded again at the next paint
}

void command(int id) {
  switch (id) {
    case kPrint:
      if (preview->context.print) preview->context.print();
      break;
    case kChoosePicture: choose_picture(); break;
    case kRemovePicture:
      set_form_picture_path(preview->context.settings_path, template_number(), "");
      preview->picture_path = "-";
      break;
    case kClose: DestroyWindow(preview->window); return;
  }
  InvalidateRect(preview->window, nullptr, TRUE);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
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
    case WM_NCDESTROY:
      if (preview && preview->window == window) preview.reset();
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool register_class() {
  WNDCLASSA cls{};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoA(instance, kClass, &cls)) return true;
  cls.lpfnWndProc = procedure;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kClass;
  return RegisterClassA(&cls) != 0;
}

void add_button(HWND window, int id, const char* text, int x, int width) {
  HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 6,
                                width, 24, window, reinterpret_cast<HMENU>(intptr_t(id)),
                                GetModuleHandleA(nullptr), nullptr);
  SendMessageA(button, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

}  // namespace

std::string form_picture_path(const std::string& settings_path, int number) {
  if (number < 1) return {};
  return std::string(rt::ini_read(settings_path, kPictureSection, std::to_string(number)).view());
}

bool set_form_picture_path(const std::string& settings_path, int number, const std::string& path) {
  return number >= 1 && rt::ini_write(settings_path, kPictureSection, std::to_string(number), path);
}

void show_preview(const PreviewContext& context) {
  if (preview) {
    preview->context = context;
    ShowWindow(preview->window, SW_SHOWNORMAL);
    SetForegroundWindow(preview->window);
    InvalidateRect(preview->window, nullptr, TRUE);
    return;
  }
  if (!register_class()) return;
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
  add_button(window, kClose, "关闭", kMargin + kFormWidth - 70, 70);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

}  // namespace app
