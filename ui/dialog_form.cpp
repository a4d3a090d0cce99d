#include "ui/dialog_form.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "runtime/platform.h"
#include "runtime/text_encoding.h"

namespace ui {

namespace {

// The form whose dialog is being created, until its WM_INITDIALOG.
DialogForm* form_being_created = nullptr;
int hot_key_counter = 0;

constexpr wchar_t kOwnerClass[] = L"WTWindow";

LRESULT CALLBACK owner_class_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (WindowBase* object = registered_object(window))
    return object->class_window_procedure(window, message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

// An invisible top-level window that owns a dialog, so that the dialog gets
// no taskbar button of its own.
HWND make_owner_window() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW cls{};
  if (!GetClassInfoW(instance, kOwnerClass, &cls)) {
    cls.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    cls.lpfnWndProc = owner_class_procedure;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszMenuName = L"";
    cls.lpszClassName = kOwnerClass;
    RegisterClassW(&cls);
  }
  return CreateWindowExW(0, kOwnerClass, L"ShowTaskbar", 0, 0, 0, 250, 110, nullptr, nullptr,
                         instance, nullptr);
}

// Registers a copy of the dialog class under another name.
void register_dialog_class_copy(const char* class_name) {
  if (!class_name || !*class_name || std::strcmp(class_name, "#32770") == 0) return;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  if (!GetClassInfoExW(nullptr, L"#32770", &cls)) return;
  std::wstring name = rt::widen(class_name);
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = name.c_str();
  RegisterClassExW(&cls);
}

TrayNotifier tray_notifier = nullptr;

bool notify_shell(DWORD operation, NOTIFYICONDATAA* data) {
  if (tray_notifier) return tray_notifier(operation, data);
  return Shell_NotifyIconA(operation, data) != FALSE;
}

void copy_text(char* target, size_t size, std::string_view text) {
  size_t n = std::min(size - 1, text.size());
  std::memcpy(target, text.data(), n);
  target[n] = '\0';
}

}  // namespace

void set_tray_notifier(TrayNotifier notifier) { tray_notifier = notifier; }

int tray_event_code(LPARAM mouse_message) {
  switch (UINT(mouse_message)) {
    case WM_LBUTTONDOWN: return 1;
    case WM_RBUTTONDOWN: return 2;
    case WM_MBUTTONDOWN: return 3;
    case WM_LBUTTONDBLCLK: return 4;
    case WM_RBUTTONDBLCLK: return 5;
    case WM_MBUTTONDBLCLK: return 6;
    case WM_MOUSEMOVE: return 7;
    case NIN_BALLOONSHOW: return 8;
    case NIN_BALLOONTIMEOUT: return 9;
    case NIN_BALLOONUSERCLICK: return 10;
    default: return 0;
  }
}

INT_PTR CALLBACK toolkit_dialog_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    if (message == WM_INITDIALOG && form_being_created) {
      DialogForm* form = form_being_created;
      form_being_created = nullptr;
      form->attach_window(window);
    }
    if (WindowBase* object = registered_object(window))
      return object->dialog_method(window, message, wparam, lparam);
  } catch (...) {
    // Nothing may unwind through the dialog manager; 0 leaves the message
    // to it.
    handle_escaped_exception(window);
  }
  return 0;
}

DialogForm::DialogForm(const DialogForm& other)
    : WindowBase(other),
      on_init_(other.on_init_),
      on_close_(other.on_close_),
      on_destroy_(other.on_destroy_),
      on_move_(other.on_move_),
      on_size_(other.on_size_),
      on_activate_(other.on_activate_),
      on_deactivate_(other.on_deactivate_),
      on_first_activation_(other.on_first_activation_),
      on_shown_(other.on_shown_),
      on_hidden_(other.on_hidden_),
      on_tray_event_(other.on_tray_event_),
      on_menu_command_(other.on_menu_command_),
      on_system_command_(other.on_system_command_),
      on_hot_key_(other.on_hot_key_),
      keep_active_(other.keep_active_),
      drag_by_client_area_(other.drag_by_client_area_) {}

DialogForm::~DialogForm() {
  destroy_tray_icon();
  if (owner_window_) DestroyWindow(owner_window_);
}

INT_PTR DialogForm::run_modal(HWND parent, int template_id, InitHandler on_init,
                              const char* class_name, bool show_in_taskbar) {
  INT_PTR result = 0;
  // A dialog that could not be made ran nothing: 0, as callers expect.
  if (!start_dialog(parent, template_id, on_init, class_name, show_in_taskbar, true, &result))
    return 0;
  return result;
}

bool DialogForm::run_modeless(HWND parent, int template_id, InitHandler on_init,
                              const char* class_name, bool show_in_taskbar) {
  return start_dialog(parent, template_id, on_init, class_name, show_in_taskbar, false, nullptr);
}

bool DialogForm::start_dialog(HWND parent, int template_id, InitHandler on_init,
                              const char* class_name, bool show_in_taskbar, bool modal,
                              INT_PTR* result) {
  if (handle()) return false;
  form_being_created = this;
  HWND owner = parent;
  if (!parent && !show_in_taskbar) {
    if (!owner_window_) owner_window_ = make_owner_window();
    owner = owner_window_;
  }
  register_dialog_class_copy(class_name);
  set_background_object(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  modal_ = modal;
  on_init_ = on_init;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  bool made;
  if (modal) {
    *result = DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id), owner,
                              toolkit_dialog_procedure, 0);
    made = *result != -1;
  } else {
    made = CreateDialogParamW(instance, MAKEINTRESOURCEW(template_id), owner,
                              toolkit_dialog_procedure, 0) != nullptr;
  }
  if (form_being_created == this) form_being_created = nullptr;
  return made;
}

INT_PTR DialogForm::dialog_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      if (on_init_) {
        on_init_(window);
        RECT client;
        GetClientRect(window, &client);
        SendMessageA(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
      }
      return 0;
    case WM_CLOSE:
      if (!on_close_ || on_close_() == 0) {
        if (modal_) {
          // Closed during one of its own questions (as a program can close
          // it): the questions go with it, unanswered, and none is asked
          // on the way out of the handler that asked.
          platform_mark_closing(reinterpret_cast<uintptr_t>(window));
          platform_end_questions_of(reinterpret_cast<uintptr_t>(window));
          EndDialog(window, dialog_result_);
        } else {
          DestroyWindow(window);
        }
      }
      return 1;
    case WM_NCACTIVATE:
      if (wparam == 0 && keep_active_) return 1;
      return 0;
    default: form_message(window, message, wparam, lparam); return 0;
  }
}

// Form-level events, tray callbacks, menu commands and hot keys.
void DialogForm::form_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kTrayCallbackMessage) {
    if (on_tray_event_) on_tray_event_(tray_event_code(lparam));
    return;
  }
  if (taskbar_created_message_ && message == taskbar_created_message_) {
    if (tray_) {
      notify_tray(NIM_DELETE, 0);
      notify_tray(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    }
    return;
  }
  switch (message) {
    case WM_DESTROY:
      if (on_destroy_) on_destroy_();
      break;
    case WM_MOVE:
      if (on_move_) on_move_(int16_t(LOWORD(lparam)), int16_t(HIWORD(lparam)));
      break;
    case WM_SIZE:
      if (on_size_) on_size_(LOWORD(lparam), HIWORD(lparam));
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) {
        if (!activated_once_) {
          activated_once_ = true;
          if (on_first_activation_) on_first_activation_();
        }
        if (on_activate_) on_activate_();
      } else if (on_deactivate_) {
        on_deactivate_();
      }
      break;
    case WM_SHOWWINDOW:
      if (wparam && on_shown_) on_shown_();
      if (!wparam && on_hidden_) on_hidden_();
      break;
    case WM_COMMAND:
      if (lparam == 0 && (HIWORD(wparam) == 0 || HIWORD(wparam) == 1) && on_menu_command_)
        on_menu_command_(LOWORD(wparam));
      break;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) < 0xF000 && on_system_command_)
        on_system_command_(int(wparam & 0xFFF0));
      break;
    case WM_HOTKEY:
      if (on_hot_key_) on_hot_key_(LOWORD(lparam), HIWORD(lparam));
      break;
    default: break;
  }
  (void)window;
}

void DialogForm::left_button_down_hook(int, int, int) {
  if (drag_by_client_area_) send(WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void DialogForm::class_cleanup() { destroy_tray_icon(); }

bool DialogForm::notify_tray(DWORD operation, UINT flags) {
  tray_->uFlags = flags;
  tray_->hIcon = tray_icon_;
  return notify_shell(operation, tray_.get());
}

void DialogForm::destroy_tray_icon() {
  if (!tray_) return;
  notify_shell(NIM_DELETE, tray_.get());
  tray_.reset();
  if (tray_icon_) DestroyIcon(tray_icon_);
  tray_icon_ = nullptr;
}

bool DialogForm::add_tray_icon(HICON icon, std::string_view tip) {
  if (!taskbar_created_message_)
    taskbar_created_message_ = RegisterWindowMessageA("TaskbarCreated");
  tray_ = std::make_unique<NOTIFYICONDATAA>();
  std::memset(tray_.get(), 0, sizeof(NOTIFYICONDATAA));
  if (tray_icon_ && tray_icon_ != icon) DestroyIcon(tray_icon_);
  tray_icon_ = icon;
  tray_->cbSize = sizeof(NOTIFYICONDATAA);
  tray_->hWnd = handle();
  tray_->uID = 1;
  tray_->uCallbackMessage = kTrayCallbackMessage;
  copy_text(tray_->szTip, sizeof tray_->szTip, tip);
  return notify_tray(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

bool DialogForm::set_tray_tip(std::string_view tip) {
  if (!tray_) return false;
  copy_text(tray_->szTip, sizeof tray_->szTip, tip);
  return notify_tray(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

bool DialogForm::set_tray_icon(HICON icon) {
  if (!tray_) return false;
  if (tray_icon_ && tray_icon_ != icon) DestroyIcon(tray_icon_);
  tray_icon_ = icon;
  return notify_tray(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

bool DialogForm::show_balloon(std::string_view text, std::string_view title, int icon_kind,
                              int timeout_ms) {
  if (!tray_) return false;
  copy_text(tray_->szInfo, sizeof tray_->szInfo, text);
  copy_text(tray_->szInfoTitle, sizeof tray_->szInfoTitle, title);
  tray_->dwInfoFlags = DWORD(icon_kind);
  tray_->uTimeout = UINT(timeout_ms);
  return notify_tray(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_STATE | NIF_TIP | NIF_INFO);
}

bool DialogForm::remove_tray_icon() {
  if (!tray_) return false;
  if (tray_icon_) DestroyIcon(tray_icon_);
  tray_icon_ = nullptr;
  bool removed = notify_shell(NIM_DELETE, tray_.get());
  tray_.reset();
  return removed;
}

int DialogForm::register_hot_key(UINT modifiers, UINT virtual_key) {
  int id = hot_key_counter + 1;
  if (!RegisterHotKey(handle(), id, modifiers, virtual_key)) return 0;
  hot_key_counter = id;
  return id;
}

bool DialogForm::unregister_hot_key(int id) { return UnregisterHotKey(handle(), id) != FALSE; }

}  // namespace ui
