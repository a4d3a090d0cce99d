// The window class of the main window: a dialog run from a template, with
// form-level events, a notification-area icon and hot keys.
#pragma once

#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "ui/window_base.h"

namespace ui {

using InitHandler = std::function<intptr_t(HWND dialog)>;
using SizeHandler = std::function<intptr_t(int a, int b)>;
using CodeHandler = std::function<intptr_t(int code)>;

// The message the notification-area icon reports its mouse events with.
inline constexpr UINT kTrayCallbackMessage = 0x3019;

// Where tray operations go: the shell, or (tests) a recorder; null
// restores the shell.
using TrayNotifier = bool (*)(DWORD operation, NOTIFYICONDATAA* data);
void set_tray_notifier(TrayNotifier notifier);

// Tray event codes handed to the on-tray-event handler.
int tray_event_code(LPARAM mouse_message);

class DialogForm : public WindowBase {
 public:
  DialogForm() = default;
  DialogForm(const DialogForm& other);
  ~DialogForm() override;
  WindowBase* copy() const override { return new DialogForm(*this); }

  // Runs the dialog of `template_id` modally: the dialog's result once it
  // has closed; 0 when the form already has a window.
  INT_PTR run_modal(HWND parent, int template_id, InitHandler on_init,
                    const char* class_name = nullptr, bool show_in_taskbar = true);
  // The modeless variant: whether the dialog was made.
  bool run_modeless(HWND parent, int template_id, InitHandler on_init,
                    const char* class_name = nullptr, bool show_in_taskbar = true);

  INT_PTR dialog_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  void left_button_down_hook(int x, int y, int keys) override;
  void class_cleanup() override;

  void set_dialog_result(INT_PTR result) { dialog_result_ = result; }
  void on_close(NoArgHandler h) { on_close_ = std::move(h); }
  void on_destroy(NoArgHandler h) { on_destroy_ = std::move(h); }
  void on_move(SizeHandler h) { on_move_ = std::move(h); }
  void on_size(SizeHandler h) { on_size_ = std::move(h); }
  void on_activate(NoArgHandler h) { on_activate_ = std::move(h); }
  void on_deactivate(NoArgHandler h) { on_deactivate_ = std::move(h); }
  void on_first_activation(NoArgHandler h) { on_first_activation_ = std::move(h); }
  void on_shown(NoArgHandler h) { on_shown_ = std::move(h); }
  void on_hidden(NoArgHandler h) { on_hidden_ = std::move(h); }
  void on_tray_event(CodeHandler h) { on_tray_event_ = std::move(h); }
  void on_menu_command(CodeHandler h) { on_menu_command_ = std::move(h); }
  // Commands the program added to the window's system menu (ids below
  // 0xF000, multiples of 16).
  void on_system_command(CodeHandler h) { on_system_command_ = std::move(h); }
  void on_hot_key(SizeHandler h) { on_hot_key_ = std::move(h); }
  void set_keep_active(bool on) { keep_active_ = on; }
  void set_drag_by_client_area(bool on) { drag_by_client_area_ = on; }

  // The notification-area icon (the form owns the icon handle).
  bool add_tray_icon(HICON icon, std::string_view tip = {});
  bool set_tray_tip(std::string_view tip);
  bool set_tray_icon(HICON icon);
  bool show_balloon(std::string_view text, std::string_view title = {}, int icon_kind = 1,
                    int timeout_ms = 10000);
  bool remove_tray_icon();
  bool has_tray_icon() const { return tray_ != nullptr; }

  // System-wide hot keys: the id, or 0.
  int register_hot_key(UINT modifiers, UINT virtual_key);
  bool unregister_hot_key(int id);

 private:
  bool start_dialog(HWND parent, int template_id, InitHandler on_init, const char* class_name,
                    bool show_in_taskbar, bool modal, INT_PTR* result);
  void form_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  bool notify_tray(DWORD operation, UINT flags);
  void destroy_tray_icon();

  INT_PTR dialog_result_ = 0;
  bool modal_ = false;
  InitHandler on_init_ = nullptr;
  NoArgHandler on_close_ = nullptr;
  NoArgHandler on_destroy_ = nullptr;
  SizeHandler on_move_ = nullptr;
  SizeHandler on_size_ = nullptr;
  NoArgHandler on_activate_ = nullptr;
  NoArgHandler on_deactivate_ = nullptr;
  NoArgHandler on_first_activation_ = nullptr;
  bool activated_once_ = false;
  NoArgHandler on_shown_ = nullptr;
  NoArgHandler on_hidden_ = nullptr;
  CodeHandler on_tray_event_ = nullptr;
  CodeHandler on_menu_command_ = nullptr;
  CodeHandler on_system_command_ = nullptr;
  SizeHandler on_hot_key_ = nullptr;
  bool keep_active_ = false;
  bool drag_by_client_area_ = false;
  std::unique_ptr<NOTIFYICONDATAA> tray_;
  HICON tray_icon_ = nullptr;
  UINT taskbar_created_message_ = 0;
  HWND owner_window_ = nullptr;  // the hidden "WTWindow" owner, when made
};

// The dialog procedure every toolkit dialog runs with.
INT_PTR CALLBACK toolkit_dialog_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace ui
