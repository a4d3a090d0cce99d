// The input box: a dialog built from an in-memory template, run by a
// message loop of its own so that the program's other windows stay alive.
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/input_box.h"
#include "runtime/platform.h"
#include "runtime/text_encoding.h"

namespace {

constexpr int prompt_id = 0xFFFF;  // -1 as a dialog item id
constexpr int hidden_static_id = 1128;
constexpr int text_edit_id = rt::kInputBoxTextEdit;
constexpr int password_edit_id = 1002;
constexpr int no_prompt_shift = 57;  // pixels

// A dialog template in memory: WORD-sized fields, items DWORD-aligned.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, std::string_view title, WORD points,
                 std::string_view font) {
    add_dword(style);
    add_dword(0);  // extended style
    count_at_ = words_.size();
    add_word(0);  // item count, filled in by add_item
    add_word(0);  // x
    add_word(0);  // y
    add_word(WORD(cx));
    add_word(WORD(cy));
    add_word(0);  // no menu
    add_word(0);  // standard class
    add_text(title);
    add_word(points);
    add_text(font);
  }

  void add_item(DWORD style, short x, short y, short cx, short cy, int id, WORD class_atom,
                std::string_view text) {
    if (words_.size() % 2) add_word(0);  // DWORD alignment
    add_dword(style | WS_CHILD | WS_VISIBLE);
    add_dword(0);
    for (short v : {x, y, cx, cy}) add_word(WORD(v));
    add_word(WORD(id));
    add_word(0xFFFF);
    add_word(class_atom);
    add_text(text);
    add_word(0);  // no creation data
    ++words_[count_at_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void add_word(WORD w) { words_.push_back(w); }
  void add_dword(DWORD d) {
    add_word(LOWORD(d));
    add_word(HIWORD(d));
  }
  void add_text(std::string_view gbk) {
    for (wchar_t c : rt::widen(gbk)) add_word(WORD(c));
    add_word(0);
  }

  std::vector<WORD> words_;
  size_t count_at_ = 0;
};

DialogTemplate input_box_template() {
  DialogTemplate t(DS_SETFONT | DS_CENTER | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 252,
                   92, "请输入：", 9, "宋体");
  const WORD button = 0x0080, edit = 0x0081, label = 0x0082;
  t.add_item(SS_LEFT | SS_SUNKEN, 7, 7, 238, 35, prompt_id, label, "");
  t.add_item(SS_LEFT, 12, 11, 229, 27, hidden_static_id, label, "");
  t.add_item(WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 7, 45, 238, 12, text_edit_id, edit, "");
  t.add_item(WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, 7, 45, 238, 12,
             password_edit_id, edit, "");
  t.add_item(BS_DEFPUSHBUTTON | WS_TABSTOP, 63, 66, 55, 19, IDOK, button, "确认输入(&O)");
  t.add_item(BS_PUSHBUTTON | WS_TABSTOP, 134, 66, 55, 19, IDCANCEL, button, "取消(&C)");
  return t;
}

struct InputBoxState {
  const rt::InputBoxRequest* request;
  HWND owner = nullptr;  // disabled while the box is open
  bool owner_was_enabled = false;
  HWND edit = nullptr;
  bool confirmed = false;
  std::string answer;
};

// The owner is enabled again before the box goes, so that it, not some
// other program, becomes the active window.
void close_dialog(HWND dialog, InputBoxState& state) {
  if (state.owner_was_enabled && IsWindow(state.owner)) EnableWindow(state.owner, TRUE);
  state.owner_was_enabled = false;
  if (IsWindow(dialog)) DestroyWindow(dialog);
}

void move_by(HWND dialog, HWND control, int dy) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(control, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void lay_out_without_prompt(HWND dialog, HWND edit) {
  ShowWindow(GetDlgItem(dialog, prompt_id), SW_HIDE);
  move_by(dialog, GetDlgItem(dialog, IDOK), -no_prompt_shift);
  move_by(dialog, GetDlgItem(dialog, IDCANCEL), -no_prompt_shift);
  RECT r;
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(edit, nullptr, r.left, 11, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(dialog, &r);
  SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top - no_prompt_shift,
               SWP_NOMOVE | SWP_NOZORDER);
}

void open_dialog(HWND dialog, InputBoxState& state) {
  const rt::InputBoxRequest& request = *state.request;
  SetWindowTextW(dialog, request.caption ? rt::widen(*request.caption).c_str() : L"");
  bool hidden = request.kind == 4;
  state.edit = GetDlgItem(dialog, hidden ? password_edit_id : text_edit_id);
  ShowWindow(GetDlgItem(dialog, hidden ? text_edit_id : password_edit_id), SW_HIDE);
  if (request.default_text) SetWindowTextW(state.edit, rt::widen(*request.default_text).c_str());
  ShowWindow(GetDlgItem(dialog, hidden_static_id), SW_HIDE);
  if (request.prompt && !request.prompt->empty()) {
    SetDlgItemTextW(dialog, prompt_id, rt::widen(*request.prompt).c_str());
  } else {
    lay_out_without_prompt(dialog, state.edit);
  }
  SetFocus(state.edit);
}

void confirm(HWND dialog, InputBoxState& state) {
  int n = GetWindowTextLengthW(state.edit);
  if (n > 0) {
    std::wstring text(size_t(n) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(state.edit, text.data(), n + 1)));
    state.answer = rt::narrow(text);
  }
  state.confirmed = true;
  close_dialog(dialog, state);
}

INT_PTR handle_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      open_dialog(dialog, *reinterpret_cast<InputBoxState*>(lparam));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (!state) return FALSE;
      if (LOWORD(wparam) == IDOK) confirm(dialog, *state);
      if (LOWORD(wparam) == IDCANCEL) close_dialog(dialog, *state);
      return TRUE;
    case WM_CLOSE:
      if (state) close_dialog(dialog, *state);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK input_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return handle_message(dialog, message, wparam, lparam);
  } catch (...) {
    return FALSE;  // nothing may unwind into the system's dialog code
  }
}

// A character typed into the edit: Enter confirms; number kinds let only
// "-", the digits and (decimal) "." through. True when it was consumed.
bool filter_character(HWND dialog, InputBoxState& state, const MSG& msg) {
  if (msg.hwnd != state.edit || msg.message != WM_CHAR) return false;
  wchar_t c = wchar_t(msg.wParam);
  if (c == L'\r') {
    confirm(dialog, state);
    return true;
  }
  int kind = state.request->kind;
  if (kind != 2 && kind != 3) return false;
  bool allowed = c == L'-' || (c >= L'0' && c <= L'9') || (kind == 3 && c == L'.');
  return !allowed;
}

}  // namespace

std::optional<std::string> platform_input_box(const rt::InputBoxRequest& request) {
  InputBoxState state;
  state.request = &request;
  state.owner = request.owner ? reinterpret_cast<HWND>(request.owner) : GetActiveWindow();
  if (!IsWindow(state.owner)) state.owner = nullptr;
  if (platform_is_closing(reinterpret_cast<uintptr_t>(state.owner))) return std::nullopt;
  DialogTemplate t = input_box_template();
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.get(), state.owner,
                                           input_box_proc, reinterpret_cast<LPARAM>(&state));
  if (!dialog) return std::nullopt;
  // Owned and modal: the window that asks cannot be used, or closed by its
  // close box, while the question is open; if it goes anyway, the box goes
  // with it, unanswered.
  if (state.owner) state.owner_was_enabled = !EnableWindow(state.owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  MSG msg;
  while (IsWindow(dialog)) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));  // leave the quit for the main loop
      break;
    }
    if (got < 0) break;
    if (filter_character(dialog, state, msg)) continue;
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  close_dialog(dialog, state);
  if (!state.confirmed) return std::nullopt;
  return state.answer;
}
