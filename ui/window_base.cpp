#include "ui/window_base.h"

#include <shellapi.h>

#include <algorithm>
#include <new>
#include <vector>

#include "runtime/heap.h"
#include "runtime/text_encoding.h"
#include "ui/dpi.h"
#include "ui/handle_table.h"
#include "view/asker.h"

namespace ui {

namespace {

HandleTable& window_registry() {
  static HandleTable table;
  return table;
}
HandleTable& message_hooks() {
  static HandleTable table;
  return table;
}
HandleTable& child_handlers() {
  static HandleTable table;
  return table;
}
HandleTable& tool_tip_owners() {
  static HandleTable table;
  return table;
}

uintptr_t key(HWND window) { return reinterpret_cast<uintptr_t>(window); }

// Mouse position: x is the low word as unsigned, y the high word as signed.
int x_of(LPARAM lparam) { return int(uint32_t(lparam) & 0xFFFF); }
int y_of(LPARAM lparam) { return int32_t(uint32_t(lparam)) >> 16; }
int high_signed(WPARAM wparam) { return int32_t(uint32_t(wparam)) >> 16; }

WindowBase* object_for(HWND window) {
  return reinterpret_cast<WindowBase*>(window_registry().value(key(window)));
}

}  // namespace

int key_state() {
  int keys = 0;
  if (GetAsyncKeyState(VK_CONTROL) & 0x8000) keys |= kKeyCtrl;
  if (GetAsyncKeyState(VK_SHIFT) & 0x8000) keys |= kKeyShift;
  if (GetAsyncKeyState(VK_MENU) & 0x8000) keys |= kKeyAlt;
  return keys;
}

WindowBase* registered_object(HWND window) { return object_for(window); }

void register_message_hook(HWND window, MessageHook hook) {
  if (hook)
    message_hooks().insert(key(window), reinterpret_cast<uintptr_t>(hook));
  else
    message_hooks().remove(key(window));
}

void register_child_handler(HWND child, ChildHandler handler) {
  if (handler)
    child_handlers().insert(key(child), reinterpret_cast<uintptr_t>(handler));
  else
    child_handlers().remove(key(child));
}

void register_tool_tip_owner(uintptr_t tool_tip_id, HWND owner) {
  tool_tip_owners().insert(tool_tip_id, key(owner));
}

MessageHook message_hook_of(HWND window) {
  return reinterpret_cast<MessageHook>(message_hooks().value(key(window)));
}
ChildHandler child_handler_of(HWND child) {
  return reinterpret_cast<ChildHandler>(child_handlers().value(key(child)));
}
HWND tool_tip_owner_of(uintptr_t tool_tip_id) {
  return reinterpret_cast<HWND>(tool_tip_owners().value(tool_tip_id));
}

// The program's windows are Unicode windows: a text the seller or a buyer
// typed reaches them whole, whatever the system's code page.
bool register_window_class(const char* name, WNDPROC procedure) {
  WNDCLASSW cls{};
  HINSTANCE instance = GetModuleHandleW(nullptr);
  std::wstring wide_name = rt::widen(name);
  if (GetClassInfoW(instance, wide_name.c_str(), &cls)) return true;
  cls.lpfnWndProc = procedure;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = wide_name.c_str();
  return RegisterClassW(&cls) != 0;
}

void place_beside(HWND window, HWND anchor) {
  RECT own{}, next_to{}, area{};
  if (!GetWindowRect(window, &own) || !GetWindowRect(anchor, &next_to)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  area = monitor.rcWork;
  int width = own.right - own.left, height = own.bottom - own.top;
  constexpr int kGap = 8;
  int x = next_to.right + kGap;
  if (x + width > area.right) x = next_to.left - kGap - width;
  if (x < area.left) x = std::max(LONG(area.left), area.right - width);
  int y = std::clamp(int(next_to.top), int(area.top), std::max(int(area.top), int(area.bottom) - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND WindowBase::create_beside(HWND owner, const char* class_name, const char* title,
                               int client_width, int client_height) {
  if (!register_window_class(class_name, DefWindowProcW)) return nullptr;
  int dpi = window_dpi(owner);
  RECT frame{0, 0, scaled(client_width, dpi), scaled(client_height, dpi)};
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND window = create(0, class_name, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                       frame.right - frame.left, frame.bottom - frame.top, owner, nullptr);
  if (window) place_beside(window, owner);
  return window;
}

void close_on_escape(WindowBase& control) {
  control.on_key_down([&control](int key, int) -> intptr_t {
    if (key != VK_ESCAPE) return 0;
    // Posted: the control must not be destroyed inside its own message.
    PostMessageW(GetAncestor(control.handle(), GA_ROOT), WM_CLOSE, 0, 0);
    return 1;
  });
}

void handle_escaped_exception(HWND window) {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    rt_out_of_memory();
  } catch (...) {
    static bool reported = false;
    if (reported) return;
    reported = true;
    view::BoxAsker(reinterpret_cast<uintptr_t>(window))
        .tell("程序处理窗口消息时出错，这次操作没有完成。", "error", RT_MB_ICONERROR);
  }
}

namespace {

LRESULT dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_QUIT) {
    if (auto hook = reinterpret_cast<MessageHook>(message_hooks().value(key(window))))
      if (intptr_t r = hook(window, message, wparam, lparam)) return r;
  }
  if (message == WM_COMMAND) {
    HWND child = reinterpret_cast<HWND>(lparam);
    if (auto handler = reinterpret_cast<ChildHandler>(child_handlers().value(key(child))))
      if (intptr_t r = handler(child, HIWORD(wparam), LOWORD(wparam), lparam)) return r;
  }
  if (message == WM_NOTIFY && lparam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    if (auto handler =
            reinterpret_cast<ChildHandler>(child_handlers().value(key(header->hwndFrom))))
      if (intptr_t r = handler(header->hwndFrom, int(header->code), int(header->idFrom), lparam))
        return r;
  }
  if (WindowBase* object = object_for(window))
    return object->message_method(window, message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

// A destroyed window's entries: its handle value may come back for another.
void forget_window(HWND window) {
  message_hooks().remove(key(window));
  child_handlers().remove(key(window));
  tool_tip_owners().remove_value(key(window));
}

}  // namespace

LRESULT CALLBACK shared_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Read before the handlers run: WM_NCDESTROY forgets the object.
  WindowBase* object = object_for(window);
  WNDPROC previous = object ? object->previous_procedure() : nullptr;
  LRESULT result = 0;
  try {
    result = dispatch(window, message, wparam, lparam);
  } catch (...) {
    // Nothing may unwind through the system's window procedure.
    handle_escaped_exception(window);
    result = previous ? CallWindowProcW(previous, window, message, wparam, lparam)
                      : DefWindowProcW(window, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) forget_window(window);
  return result;
}

WindowBase::WindowBase(const WindowBase& other)
    : on_left_down_(other.on_left_down_),
      on_left_up_(other.on_left_up_),
      on_left_double_(other.on_left_double_),
      on_right_down_(other.on_right_down_),
      on_right_up_(other.on_right_up_),
      on_mouse_move_(other.on_mouse_move_),
      on_focus_gained_(other.on_focus_gained_),
      on_focus_lost_(other.on_focus_lost_),
      on_key_down_(other.on_key_down_),
      on_key_up_(other.on_key_up_),
      on_character_(other.on_character_),
      on_wheel_(other.on_wheel_),
      on_files_dropped_(other.on_files_dropped_),
      on_mouse_enter_(other.on_mouse_enter_),
      on_mouse_leave_(other.on_mouse_leave_),
      on_paint_(other.on_paint_),
      on_timer_(other.on_timer_) {}

WindowBase::~WindowBase() {
  // An object that dies before its window: unhook it so no message reaches
  // freed memory.
  if (handle_ && object_for(handle_) == this) {
    if (IsWindow(handle_) && previous_)
      SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    window_registry().remove(key(handle_));
  }
  if (background_) DeleteObject(background_);
}

bool WindowBase::bind(HWND window) {
  if (WindowBase* other = object_for(window); other && other != this) return false;
  window_registry().insert(key(window), reinterpret_cast<uintptr_t>(this));
  handle_ = window;
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (current == shared_window_procedure) return true;
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(shared_window_procedure)));
  return true;
}

LRESULT WindowBase::default_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (previous_) return CallWindowProcW(previous_, window, message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT WindowBase::message_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  int x = x_of(lparam), y = y_of(lparam);
  switch (message) {
    case WM_NCDESTROY: {
      WNDPROC previous = previous_;
      base_cleanup();
      window_registry().remove(key(window));
      return previous ? CallWindowProcW(previous, window, message, wparam, lparam)
                      : DefWindowProcW(window, message, wparam, lparam);
    }
    case WM_LBUTTONDOWN:
      left_button_down_hook(x, y, key_state());
      if (on_left_down_)
        if (intptr_t r = on_left_down_(x, y, key_state())) return r;
      break;
    case WM_LBUTTONDBLCLK:
      left_double_click_hook(x, y, key_state());
      if (on_left_double_)
        if (intptr_t r = on_left_double_(x, y, key_state())) return r;
      break;
    case WM_LBUTTONUP:
      left_button_up_hook(x, y, key_state());
      if (on_left_up_)
        if (intptr_t r = on_left_up_(x, y, key_state())) return r;
      break;
    case WM_RBUTTONDOWN:
      if (on_right_down_)
        if (intptr_t r = on_right_down_(x, y, key_state())) return r;
      break;
    case WM_RBUTTONUP:
      if (on_right_up_)
        if (intptr_t r = on_right_up_(x, y, key_state())) return r;
      break;
    case WM_MOUSEMOVE:
      if (LRESULT r = mouse_move(x, y, key_state())) return r;
      if (on_mouse_move_)
        if (intptr_t r = on_mouse_move_(x, y, key_state())) return r;
      break;
    case WM_SETFOCUS:
      if (on_focus_gained_) on_focus_gained_();
      break;
    case WM_KILLFOCUS:
      if (on_focus_lost_) on_focus_lost_();
      break;
    case WM_KEYDOWN:
      key_down_hook(int(wparam), key_state());
      if (on_key_down_)
        if (intptr_t r = on_key_down_(int(wparam), key_state())) return r;
      break;
    case WM_KEYUP:
      if (on_key_up_)
        if (intptr_t r = on_key_up_(int(wparam), key_state())) return r;
      break;
    case WM_CHAR:
      if (on_character_)
        if (intptr_t r = on_character_(int(wparam))) return r;
      break;
    case WM_MOUSEWHEEL:
      if (on_wheel_)
        if (intptr_t r = on_wheel_(high_signed(wparam), key_state())) return r;
      break;
    case WM_SETCURSOR:
      if (LRESULT r = set_cursor(wparam, lparam)) return r;
      break;
    case WM_PAINT:
      if (on_paint_) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        intptr_t r = on_paint_(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                               paint.rcPaint.bottom);
        EndPaint(window, &paint);
        if (r) return r;
      }
      if (LRESULT r = after_paint()) return r;
      break;
    case WM_TIMER:
      if (on_timer_ && !lparam)
        if (intptr_t r = on_timer_(UINT_PTR(wparam))) return r;
      break;
    case WM_ERASEBKGND:
      if (LRESULT r = erase_background(reinterpret_cast<HDC>(wparam))) return r;
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (WindowBase* child = object_for(reinterpret_cast<HWND>(lparam)))
        child->child_scroll(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      break;
    case WM_COMMAND:
      if (WindowBase* child = object_for(reinterpret_cast<HWND>(lparam)))
        child->child_command(window, reinterpret_cast<HWND>(lparam), HIWORD(wparam),
                             LOWORD(wparam));
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (WindowBase* child = object_for(reinterpret_cast<HWND>(lparam)))
        if (HBRUSH brush =
                child->child_colour(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam)))
          return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_NOTIFY:
      if (lparam) {
        NMHDR header = *reinterpret_cast<NMHDR*>(lparam);
        HWND target_window = header.hwndFrom;
        if (header.code == TTN_NEEDTEXTA || header.code == TTN_NEEDTEXTW)  // the tool tip's owner
          target_window = reinterpret_cast<HWND>(tool_tip_owners().value(header.idFrom));
        // A non-zero answer is the notification's result (custom draw).
        if (WindowBase* target = object_for(target_window))
          if (LRESULT r = target->child_notify(window, header.hwndFrom, int(header.code),
                                               int(header.idFrom), reinterpret_cast<NMHDR*>(lparam)))
            return r;
      }
      break;
    case WM_DRAWITEM:
      if (lparam) {
        DRAWITEMSTRUCT item = *reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
        if (WindowBase* target = object_for(item.hwndItem))
          target->child_draw_item(wparam, reinterpret_cast<DRAWITEMSTRUCT*>(lparam));
      }
      break;
    case WM_DROPFILES:
      if (on_files_dropped_) dropped_files(reinterpret_cast<HDROP>(wparam));
      break;
    case WM_MOUSELEAVE:
      if (LRESULT r = mouse_leave()) return r;
      break;
    case WM_MOVING:
      if (LRESULT r = moving(reinterpret_cast<RECT*>(lparam))) return r;
      break;
    case WM_MOVE:
      if (LRESULT r = moved(int(int16_t(LOWORD(lparam))), int(int16_t(HIWORD(lparam))))) return r;
      break;
    case WM_SIZE: sized(LOWORD(lparam), HIWORD(lparam)); break;
    default: break;
  }
  return default_message(window, message, wparam, lparam);
}

LRESULT WindowBase::dropped_files(HDROP drop) {
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::string joined;
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), UINT(path.size())));
    if (i > 0) joined += "\r\n";
    joined += rt::narrow(path);
  }
  DragFinish(drop);
  return on_files_dropped_(joined.c_str());
}

LRESULT WindowBase::class_window_procedure(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  return DefWindowProcW(window, message, wparam, lparam);
}
INT_PTR WindowBase::dialog_method(HWND, UINT, WPARAM, LPARAM) { return 0; }
LRESULT WindowBase::mdi_child_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefMDIChildProcW(window, message, wparam, lparam);
}
LRESULT WindowBase::plain_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(window, message, wparam, lparam);
}
LRESULT WindowBase::child_command(HWND, HWND, int, int) { return 0; }
LRESULT WindowBase::child_notify(HWND, HWND, int, int, NMHDR*) { return 0; }
HBRUSH WindowBase::child_colour(HWND, HDC) { return nullptr; }

LRESULT WindowBase::set_cursor(WPARAM wparam, LPARAM lparam) {
  if (cursor_ && LOWORD(lparam) == HTCLIENT && reinterpret_cast<HWND>(wparam) == handle_)
    return reinterpret_cast<LRESULT>(SetCursor(cursor_));
  return 0;
}

LRESULT WindowBase::after_paint() { return 0; }

// Fills the client area with the window's background object when it has a
// brush; without one the control's own procedure erases as usual.
LRESULT WindowBase::erase_background(HDC dc) {
  if (!background_ || GetObjectType(background_) != OBJ_BRUSH) return 0;
  RECT client;
  GetClientRect(handle_, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(background_));
  return 1;
}

LRESULT WindowBase::child_scroll(int, int, HWND) { return 0; }

LRESULT WindowBase::mouse_move(int, int, int) {
  if (!on_mouse_enter_ || mouse_inside_) return 0;
  mouse_inside_ = true;
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle_, 0};
  TrackMouseEvent(&track);
  return on_mouse_enter_();
}

LRESULT WindowBase::child_draw_item(WPARAM, DRAWITEMSTRUCT*) { return 1; }

LRESULT WindowBase::mouse_leave() {
  mouse_inside_ = false;
  return on_mouse_leave_ ? on_mouse_leave_() : 0;
}

void WindowBase::left_button_down_hook(int, int, int) {}
void WindowBase::left_double_click_hook(int, int, int) {}
void WindowBase::key_down_hook(int, int) {}
LRESULT WindowBase::moving(RECT*) { return 0; }
LRESULT WindowBase::moved(int, int) { return 0; }
LRESULT WindowBase::reserved_hook_1() { return 0; }
void WindowBase::reserved_hook_2() {}
void WindowBase::left_button_up_hook(int, int, int) {}
void WindowBase::reserved_hook_3() {}
void WindowBase::sized(int, int) {}
void WindowBase::class_cleanup() {}

void WindowBase::base_cleanup() {
  class_cleanup();
  if (handle_ && previous_)
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  if (cursor_) DestroyCursor(cursor_);
  if (background_) DeleteObject(background_);
  handle_ = nullptr;
  previous_ = nullptr;
  cursor_ = nullptr;
  on_left_down_ = on_left_up_ = on_left_double_ = on_right_down_ = on_right_up_ = nullptr;
  on_mouse_move_ = nullptr;
  on_focus_gained_ = on_focus_lost_ = nullptr;
  on_key_down_ = on_key_up_ = nullptr;
  on_character_ = nullptr;
  on_wheel_ = nullptr;
  on_files_dropped_ = nullptr;
  mouse_inside_ = false;
  on_mouse_enter_ = on_mouse_leave_ = nullptr;
  on_paint_ = nullptr;
  on_timer_ = nullptr;
  background_ = nullptr;
}

HWND WindowBase::create(DWORD ex_style, const char* class_name, const char* title, DWORD style,
                        int x, int y, int width, int height, HWND parent, HMENU menu_or_id,
                        void* parameter) {
  if (handle_) return nullptr;
  HWND window = CreateWindowExW(ex_style, rt::widen(class_name).c_str(), rt::widen(title).c_str(),
                                style | WS_CLIPSIBLINGS, x, y, width, height, parent, menu_or_id,
                                GetModuleHandleW(nullptr), parameter);
  if (!window) return nullptr;
  bind(window);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font()), 0);
  return window;
}

bool WindowBase::attach(HWND parent, int id, bool set_font) {
  if (handle_) return false;
  HWND item = GetDlgItem(parent, id);
  if (!item || !bind(item)) return false;
  if (set_font)
    SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font()), 1);
  return true;
}

bool WindowBase::attach_window(HWND window) { return !handle_ && IsWindow(window) && bind(window); }

// The ANSI form: a text in a message is the system code page's, converted
// to the Unicode window's; a text that may hold any character goes through
// the controls' own wide calls.
LRESULT WindowBase::send(UINT message, WPARAM wparam, LPARAM lparam) const {
  return SendMessageA(handle_, message, wparam, lparam);
}
bool WindowBase::post(UINT message, WPARAM wparam, LPARAM lparam) const {
  return PostMessageW(handle_, message, wparam, lparam) != FALSE;
}
void WindowBase::focus() const { SetFocus(handle_); }
void WindowBase::set_redraw(bool on) const { send(WM_SETREDRAW, on ? TRUE : FALSE); }
void WindowBase::invalidate() const { InvalidateRect(handle_, nullptr, TRUE); }
void WindowBase::validate() const { ValidateRect(handle_, nullptr); }
void WindowBase::update() const { UpdateWindow(handle_); }

bool WindowBase::move(int* x, int* y, int* width, int* height, bool repaint) const {
  RECT r;
  if (!GetWindowRect(handle_, &r)) return false;
  POINT origin{r.left, r.top};
  if (HWND owner = GetParent(handle_); owner && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
    ScreenToClient(owner, &origin);
  return MoveWindow(handle_, x ? *x : origin.x, y ? *y : origin.y,
                    width ? *width : r.right - r.left, height ? *height : r.bottom - r.top,
                    repaint ? TRUE : FALSE) != FALSE;
}

HWND WindowBase::parent() const { return GetParent(handle_); }
bool WindowBase::visible() const { return IsWindowVisible(handle_) != FALSE; }
void WindowBase::set_visible(bool on) const { ShowWindow(handle_, on ? SW_SHOW : SW_HIDE); }
bool WindowBase::disabled() const { return !IsWindowEnabled(handle_); }
bool WindowBase::set_disabled(bool on) const { return EnableWindow(handle_, on ? FALSE : TRUE); }

void WindowBase::set_style_bits(DWORD bits, bool on, bool extended) const {
  int index = extended ? GWL_EXSTYLE : GWL_STYLE;
  DWORD style = DWORD(GetWindowLongW(handle_, index));
  SetWindowLongW(handle_, index, LONG(on ? style | bits : style & ~bits));
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::string WindowBase::text() const {
  std::wstring buffer(size_t(GetWindowTextLengthW(handle_)) + 1, L'\0');
  int got = GetWindowTextW(handle_, buffer.data(), int(buffer.size()));
  buffer.resize(size_t(got > 0 ? got : 0));
  return rt::narrow(buffer);
}

void WindowBase::set_text(std::string_view gbk) const {
  SetWindowTextW(handle_, rt::widen(gbk).c_str());
}

int WindowBase::px(int pixels) const { return scaled(pixels, window_dpi(handle_)); }

void WindowBase::set_cursor_handle(HCURSOR cursor) {
  if (cursor_) DestroyCursor(cursor_);
  cursor_ = cursor;
}

void WindowBase::set_font(HFONT font, bool redraw) const {
  send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? 1 : 0);
}

void WindowBase::accept_files(bool on) const { DragAcceptFiles(handle_, on ? TRUE : FALSE); }

void WindowBase::set_background_object(HGDIOBJ object) {
  if (background_) DeleteObject(background_);
  background_ = object;
}

}  // namespace ui
