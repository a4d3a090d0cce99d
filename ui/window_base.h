// Every native window of the toolkit has a toolkit object: its messages go
// through one shared window procedure to per-window hooks, to the handlers
// of child controls and to the object's message method, which turns them
// into events for the application's handlers. A handler that returns
// non-zero ends the message with that result; 0 passes it on.
#pragma once

#include <windows.h>
// After windows.h: file drops and NMHDR.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

// Handlers carry their own context (a lambda capturing the window object
// they belong to), so no window's state has to live outside its object.
using NoArgHandler = std::function<intptr_t()>;
using MouseHandler = std::function<intptr_t(int x, int y, int keys)>;
using KeyHandler = std::function<intptr_t(int virtual_key, int keys)>;
using CharHandler = std::function<intptr_t(int code)>;
using WheelHandler = std::function<intptr_t(int delta, int keys)>;
using TextHandler = std::function<intptr_t(const char* text)>;
using PaintHandler = std::function<intptr_t(HDC dc, int left, int top, int right, int bottom)>;
using TimerHandler = std::function<intptr_t(UINT_PTR timer_id)>;
// The process-wide tables below hold plain functions: a hook is found by
// the window's handle and gets it as its first argument.
using MessageHook = intptr_t (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
using ChildHandler = intptr_t (*)(HWND child, int code, int id, LPARAM lparam);

// Key state bits of mouse and key events.
inline constexpr int kKeyCtrl = 1;
inline constexpr int kKeyShift = 2;
inline constexpr int kKeyAlt = 4;
int key_state();

class WindowBase {
 public:
  WindowBase() = default;
  // A copy takes the handlers and settings, not the window or owned objects.
  WindowBase(const WindowBase& other);
  WindowBase& operator=(const WindowBase&) = delete;

  // Virtual operations in the order the dispatch knows them.
  virtual ~WindowBase();
  virtual WindowBase* copy() const { return new WindowBase(*this); }
  virtual LRESULT message_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  virtual LRESULT class_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  virtual INT_PTR dialog_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  virtual LRESULT mdi_child_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  virtual LRESULT plain_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  virtual LRESULT child_command(HWND parent, HWND child, int code, int id);
  virtual LRESULT child_notify(HWND parent, HWND sender, int code, int id, NMHDR* header);
  virtual HBRUSH child_colour(HWND child, HDC dc);
  virtual LRESULT set_cursor(WPARAM wparam, LPARAM lparam);
  virtual LRESULT after_paint();
  virtual LRESULT erase_background(HDC dc);
  virtual LRESULT child_scroll(int code, int position, HWND scroll_bar);
  virtual LRESULT mouse_move(int x, int y, int keys);
  virtual LRESULT child_draw_item(WPARAM wparam, DRAWITEMSTRUCT* item);
  virtual LRESULT mouse_leave();
  virtual void left_button_down_hook(int x, int y, int keys);
  virtual void left_double_click_hook(int x, int y, int keys);
  virtual void key_down_hook(int virtual_key, int keys);
  virtual LRESULT moving(RECT* rect);
  virtual LRESULT moved(int x, int y);
  virtual LRESULT reserved_hook_1();
  virtual void reserved_hook_2();
  virtual void left_button_up_hook(int x, int y, int keys);
  virtual void reserved_hook_3();
  virtual void sized(int width, int height);
  virtual void class_cleanup();
  virtual void base_cleanup();

  // Operations every window offers.
  HWND create(DWORD ex_style, const char* class_name, const char* title, DWORD style, int x, int y,
              int width, int height, HWND parent, HMENU menu_or_id, void* parameter = nullptr);
  // A captioned window of the program's own class, owned by `owner`, whose
  // client area is the size given (at 96 dpi, scaled to the owner's
  // screen), placed beside the owner.
  HWND create_beside(HWND owner, const char* class_name, const char* title, int client_width,
                     int client_height);
  // `pixels` laid out at 96 dpi, at the scale of this window's screen.
  int px(int pixels) const;
  bool attach(HWND parent, int id, bool set_font = true);
  bool attach_window(HWND window);
  HWND handle() const { return handle_; }
  LRESULT send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const;
  bool post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const;
  void focus() const;
  void set_redraw(bool on) const;
  void invalidate() const;
  void validate() const;
  void update() const;
  // Omitted coordinates keep their current values.
  bool move(int* x, int* y, int* width, int* height, bool repaint = true) const;
  HWND parent() const;
  bool visible() const;
  void set_visible(bool on) const;
  bool disabled() const;
  bool set_disabled(bool on) const;
  void set_style_bits(DWORD bits, bool on, bool extended) const;
  std::string text() const;
  void set_text(std::string_view gbk) const;
  void set_cursor_handle(HCURSOR cursor);
  void set_font(HFONT font, bool redraw = true) const;
  void accept_files(bool on) const;
  // Takes the GDI object over; it is deleted with the window.
  void set_background_object(HGDIOBJ object);

  // Handler setters.
  void on_left_button_down(MouseHandler h) { on_left_down_ = std::move(h); }
  void on_left_button_up(MouseHandler h) { on_left_up_ = std::move(h); }
  void on_left_double_click(MouseHandler h) { on_left_double_ = std::move(h); }
  void on_right_button_down(MouseHandler h) { on_right_down_ = std::move(h); }
  void on_right_button_up(MouseHandler h) { on_right_up_ = std::move(h); }
  void on_mouse_move(MouseHandler h) { on_mouse_move_ = std::move(h); }
  void on_focus_gained(NoArgHandler h) { on_focus_gained_ = std::move(h); }
  void on_focus_lost(NoArgHandler h) { on_focus_lost_ = std::move(h); }
  void on_key_down(KeyHandler h) { on_key_down_ = std::move(h); }
  void on_key_up(KeyHandler h) { on_key_up_ = std::move(h); }
  void on_character(CharHandler h) { on_character_ = std::move(h); }
  void on_wheel(WheelHandler h) { on_wheel_ = std::move(h); }
  void on_files_dropped(TextHandler h) { on_files_dropped_ = std::move(h); }
  void on_mouse_enter(NoArgHandler h) { on_mouse_enter_ = std::move(h); }
  void on_mouse_leave(NoArgHandler h) { on_mouse_leave_ = std::move(h); }
  void on_paint(PaintHandler h) { on_paint_ = std::move(h); }
  // WM_TIMER of a timer set on the window without a procedure of its own.
  void on_timer(TimerHandler h) { on_timer_ = std::move(h); }

 protected:
  // Stores the object in the registry and puts the shared procedure in.
  // Pairs the object with the window; false when another object already
  // has it (its previous procedure is that object's to restore).
  bool bind(HWND window);
  HGDIOBJ background_object() const { return background_; }
  WNDPROC previous_procedure() const { return previous_; }

 private:
  friend LRESULT CALLBACK shared_window_procedure(HWND, UINT, WPARAM, LPARAM);
  LRESULT default_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT dropped_files(HDROP drop);

  HWND handle_ = nullptr;
  WNDPROC previous_ = nullptr;
  HCURSOR cursor_ = nullptr;
  MouseHandler on_left_down_ = nullptr;
  MouseHandler on_left_up_ = nullptr;
  MouseHandler on_left_double_ = nullptr;
  MouseHandler on_right_down_ = nullptr;
  MouseHandler on_right_up_ = nullptr;
  MouseHandler on_mouse_move_ = nullptr;
  NoArgHandler on_focus_gained_ = nullptr;
  NoArgHandler on_focus_lost_ = nullptr;
  KeyHandler on_key_down_ = nullptr;
  KeyHandler on_key_up_ = nullptr;
  CharHandler on_character_ = nullptr;
  WheelHandler on_wheel_ = nullptr;
  TextHandler on_files_dropped_ = nullptr;
  bool mouse_inside_ = false;
  NoArgHandler on_mouse_enter_ = nullptr;
  NoArgHandler on_mouse_leave_ = nullptr;
  PaintHandler on_paint_ = nullptr;
  TimerHandler on_timer_ = nullptr;
  HGDIOBJ background_ = nullptr;
};

// The shared window procedure installed on every toolkit window.
LRESULT CALLBACK shared_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// What a window or dialog procedure does, inside its catch block, with an
// exception a handler let out: std::bad_alloc goes to the runtime's
// out-of-memory path ("内存不足", then the exit sequence), as every other
// allocation does; anything else is reported once in a message box, and
// the caller passes the message on as unhandled.
void handle_escaped_exception(HWND window);

// Moves a top-level window beside `anchor` (to its right, else to its
// left, else as far right as the screen's work area allows), its top at
// the anchor's, inside the work area.
void place_beside(HWND window, HWND anchor);

// Esc pressed in `control` (a control of a window without a dialog
// manager, which gives it no Esc of its own) closes the top-level window it
// is in, as Esc closes a dialog.
void close_on_escape(WindowBase& control);

// Registers (once) a window class of the program's own windows: the arrow
// cursor, the dialog colour; false when it cannot be registered.
bool register_window_class(const char* name, WNDPROC procedure);

// A window procedure around `Handle` that lets no exception out: as the
// shared procedure does, it is reported (or ends the program when memory
// ran out) and the message goes to DefWindowProcA.
template <LRESULT (*Handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK guarded_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return Handle(window, message, wparam, lparam);
  } catch (...) {
    handle_escaped_exception(window);
    return DefWindowProcA(window, message, wparam, lparam);
  }
}

// The process-wide tables. A window's hook, child handler and tool-tip
// entries go when it gets WM_NCDESTROY, so a later window with the same
// handle value starts with none.
WindowBase* registered_object(HWND window);
void register_message_hook(HWND window, MessageHook hook);
void register_child_handler(HWND child, ChildHandler handler);
void register_tool_tip_owner(uintptr_t tool_tip_id, HWND owner);
MessageHook message_hook_of(HWND window);
ChildHandler child_handler_of(HWND child);
HWND tool_tip_owner_of(uintptr_t tool_tip_id);

}  // namespace ui
