// The window toolkit on real windows: dialogs, dispatch, controls, tray
// callbacks, menus. The dialog is the main window's template, run modeless.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/runtime/boxes_to_stderr.h"
#include "ui/button_control.h"
#include "ui/combo_control.h"
#include "ui/dialog_form.h"
#include "ui/edit_control.h"
#include "ui/menu_object.h"
#include "view/memory_view.h"

namespace {

std::vector<std::string> events;

void record(std::string e) { events.push_back(std::move(e)); }

intptr_t on_init(HWND) {
  record("init");
  return 0;
}

class Toolkit : public testing::Test {
 protected:
  void SetUp() override { events.clear(); }
  void TearDown() override {
    if (form.handle()) DestroyWindow(form.handle());
  }
  HWND open(bool show_in_taskbar = true) {
    EXPECT_TRUE(form.run_modeless(nullptr, 1000, on_init, nullptr, show_in_taskbar));
    return form.handle();
  }
  ui::DialogForm form;
};

TEST_F(Toolkit, DialogsOwnedOnlyWhenTheTaskbarButtonIsNotWanted) {
  HWND dialog = open();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(events, (std::vector<std::string>{"init"}));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  EXPECT_FALSE(form.run_modeless(nullptr, 1000, on_init));  // already has a window
  DestroyWindow(dialog);
  EXPECT_EQ(form.handle(), nullptr);
  EXPECT_EQ(ui::registered_object(dialog), nullptr);

  dialog = open(false);
  HWND owner = GetWindow(dialog, GW_OWNER);
  ASSERT_TRUE(owner);
  char name[64] = {}, title[64] = {};
  GetClassNameA(owner, name, sizeof name);
  GetWindowTextA(owner, title, sizeof title);
  EXPECT_STREQ(name, "WTWindow");
  EXPECT_STREQ(title, "ShowTaskbar");
  EXPECT_FALSE(IsWindowVisible(owner));
}

intptr_t keep_open() { return 1; }

TEST_F(Toolkit, CloseHandlerCanKeepTheDialogOpen) {
  HWND dialog = open();
  form.on_close(keep_open);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(dialog));
  form.on_close(nullptr);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(dialog));
}

intptr_t on_click() {
  record("click");
  return 0;
}
intptr_t on_menu(int id) {
  record("menu " + std::to_string(id));
  return 0;
}
intptr_t on_tray(int code) {
  record("tray " + std::to_string(code));
  return 0;
}

TEST_F(Toolkit, CommandsReachControlsMenusAndTray) {
  HWND dialog = open();
  ui::ButtonControl button;
  ASSERT_TRUE(button.attach(dialog, 1001));
  EXPECT_FALSE(button.attach(dialog, 1001));
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), LPARAM(button.handle()));
  button.on_click(on_click);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), LPARAM(button.handle()));
  form.on_menu_command(on_menu);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(42, 0), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(43, 1), 0);
  form.on_tray_event(on_tray);
  SendMessageA(dialog, ui::kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
  SendMessageA(dialog, ui::kTrayCallbackMessage, 1, NIN_BALLOONUSERCLICK);
  SendMessageA(dialog, ui::kTrayCallbackMessage, 1, 0x999);
  EXPECT_EQ(events, (std::vector<std::string>{"init", "click", "menu 42", "menu 43", "tray 4",
                                              "tray 10", "tray 0"}));
}

int hot_modifiers, hot_key;
intptr_t on_hot_key(int modifiers, int key) {
  hot_modifiers = modifiers;
  hot_key = key;
  return 0;
}

TEST_F(Toolkit, HotKeysCountTheirIdsAndRaiseTheirEvent) {
  HWND dialog = open();
  int first = form.register_hot_key(MOD_CONTROL | MOD_ALT, 'K');
  if (first != 0) {  // the display may refuse global keys
    int second = form.register_hot_key(MOD_CONTROL | MOD_ALT, 'L');
    EXPECT_EQ(second, first + 1);
    EXPECT_TRUE(form.unregister_hot_key(first));
    EXPECT_TRUE(form.unregister_hot_key(second));
  }
  form.on_hot_key(on_hot_key);
  SendMessageA(dialog, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'K'));
  EXPECT_EQ(hot_modifiers, MOD_CONTROL | MOD_ALT);
  EXPECT_EQ(hot_key, 'K');
}

TEST_F(Toolkit, TrayOperationsNeedAnIcon) {
  open();
  EXPECT_FALSE(form.set_tray_tip("tip"));
  EXPECT_FALSE(form.set_tray_icon(nullptr));
  EXPECT_FALSE(form.show_balloon("text"));
  EXPECT_FALSE(form.remove_tray_icon());
}

int last_x, last_y, last_delta;
intptr_t on_move(int x, int y, int) {
  last_x = x;
  last_y = y;
  return 0;
}
intptr_t on_wheel(int delta, int) {
  last_delta = delta;
  return 0;
}
std::string dropped;
intptr_t on_drop(const char* text) {
  dropped = text;
  return 0;
}

// A file-drop block as the shell hands it over: ANSI paths, double zero.
HDROP drop_of(const std::vector<std::string>& paths) {
  std::string list;
  for (const auto& p : paths) list += p + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(Toolkit, MouseWheelAndDroppedFilesAreDecoded) {
  HWND dialog = open();
  ui::EditControl edit;
  ASSERT_TRUE(edit.attach(dialog, 1006));
  edit.on_mouse_move(on_move);
  edit.on_wheel(on_wheel);
  edit.on_files_dropped(on_drop);
  SendMessageA(edit.handle(), WM_MOUSEMOVE, 0, LPARAM(uint32_t(0xFFFBFFF0)));
  EXPECT_EQ(last_x, 0xFFF0);
  EXPECT_EQ(last_y, -5);
  SendMessageA(edit.handle(), WM_MOUSEWHEEL, WPARAM(uint32_t(0xFF880000)), 0);
  EXPECT_EQ(last_delta, -120);
  SendMessageA(edit.handle(), WM_DROPFILES, WPARAM(drop_of({"C:\\a.txt", "C:\\b.txt"})), 0);
  EXPECT_EQ(dropped, "C:\\a.txt\r\nC:\\b.txt");
  SendMessageA(edit.handle(), WM_DROPFILES, WPARAM(drop_of({"C:\\only.txt"})), 0);
  EXPECT_EQ(dropped, "C:\\only.txt");
}

TEST_F(Toolkit, ControlsFollowTheirMessages) {
  HWND dialog = open();
  ui::ComboControl combo;
  ui::EditControl edit;
  ASSERT_TRUE(combo.attach(dialog, 1015));
  ASSERT_TRUE(edit.attach(dialog, 1006));
  EXPECT_FALSE(edit.attach(dialog, 9999));
  EXPECT_EQ(edit.text(), "");
  edit.set_text("中文");
  EXPECT_EQ(edit.text(), "中文");
  EXPECT_EQ(combo.add_item("一", 7), 0);
  EXPECT_EQ(combo.add_item("二"), 1);
  EXPECT_EQ(combo.item_count(), 2);
  EXPECT_EQ(combo.item_text(1), "二");
  EXPECT_EQ(combo.item_text(5), "");
  EXPECT_EQ(SendMessageA(combo.handle(), CB_GETITEMDATA, 0, 0), 7);
  EXPECT_TRUE(combo.select(1));
  EXPECT_EQ(combo.selection(), 1);
  EXPECT_FALSE(combo.select(2));
  EXPECT_TRUE(combo.clear());
  EXPECT_EQ(combo.selection(), -1);
  EXPECT_FALSE(edit.set_disabled(true));
  EXPECT_TRUE(edit.disabled());
  // A window destroyed under its object leaves no registry entry behind.
  HWND edit_window = edit.handle();
  DestroyWindow(edit_window);
  EXPECT_EQ(edit.handle(), nullptr);
  EXPECT_EQ(ui::registered_object(edit_window), nullptr);
}

// Clearing the name box's list empties its edit text, on the real window
// and in the in-memory view that slipjet-cli and the tests use.
TEST_F(Toolkit, ClearingTheNameListEmptiesItsTextAsTheMemoryViewDoes) {
  HWND dialog = open();
  ui::ComboControl name_box;
  ASSERT_TRUE(name_box.attach(dialog, view::control::name_box));
  view::MemoryView memory;
  name_box.add_item("张三");
  memory.list_add(view::control::name_box, "张三");
  name_box.set_text("李四");
  memory.set_text(view::control::name_box, "李四");
  EXPECT_EQ(name_box.text(), "李四");
  name_box.clear();
  memory.list_clear(view::control::name_box);
  EXPECT_EQ(name_box.text(), "");
  EXPECT_EQ(memory.text(view::control::name_box), name_box.text());
}

intptr_t throw_bad_alloc(int, int, int) { throw std::bad_alloc(); }
int escapes = 0;
intptr_t throw_other(int, int, int) {
  ++escapes;
  throw std::runtime_error("handler failed");
}
int boxes_shown = 0;
int count_box(const char*, const char*, unsigned, uintptr_t) {
  ++boxes_shown;
  return RT_IDOK;
}

// Out of memory in a handler ends as every other allocation does.
TEST_F(Toolkit, BadAllocFromAHandlerEndsInTheOutOfMemoryBox) {
  HWND dialog = open();
  ui::EditControl edit;
  ASSERT_TRUE(edit.attach(dialog, 1006));
  edit.on_left_button_down(throw_bad_alloc);
  EXPECT_EXIT(
      {
        show_boxes_on_stderr();
        SendMessageA(edit.handle(), WM_LBUTTONDOWN, 0, 0);
      },
      testing::ExitedWithCode(0), "内存不足");
}

// Any other exception is told once and the message reaches the control's
// own procedure: the edit box still works.
TEST_F(Toolkit, OtherExceptionsAreToldOnceAndTheControlKeepsWorking) {
  HWND dialog = open();
  ui::EditControl edit;
  ASSERT_TRUE(edit.attach(dialog, 1006));
  edit.on_left_button_down(throw_other);
  rt_set_message_box_hook(count_box);
  SendMessageA(edit.handle(), WM_LBUTTONDOWN, 0, 0);
  SendMessageA(edit.handle(), WM_LBUTTONDOWN, 0, 0);
  rt_set_message_box_hook(nullptr);
  EXPECT_EQ(escapes, 2);
  EXPECT_EQ(boxes_shown, 1);
  edit.set_text("仍然可用");
  EXPECT_EQ(edit.text(), "仍然可用");
  EXPECT_EQ(SendMessageA(edit.handle(), EM_GETLIMITTEXT, 0, 0) > 0, true);
}

// A second wrapper is refused: the first keeps the control's own
// procedure as its previous one.
TEST_F(Toolkit, ASecondWrapperOnTheSameControlIsRefused) {
  HWND dialog = open();
  ui::EditControl first, second;
  ASSERT_TRUE(first.attach(dialog, 1006));
  EXPECT_FALSE(second.attach(dialog, 1006));
  EXPECT_EQ(second.handle(), nullptr);
  EXPECT_EQ(ui::registered_object(first.handle()), &first);
  EXPECT_GT(SendMessageA(first.handle(), EM_GETLIMITTEXT, 0, 0), 0);
}

intptr_t hook_calls = 0;
intptr_t counting_hook(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_USER + 7) ++hook_calls;
  return 0;
}

// A destroyed window's hook, child handler and tool-tip entry go with it.
TEST_F(Toolkit, ADestroyedWindowsHandlersGoWithIt) {
  HWND dialog = open();
  ui::EditControl edit;
  ASSERT_TRUE(edit.attach(dialog, 1006));
  HWND window = edit.handle();
  ui::register_message_hook(window, counting_hook);
  ui::register_child_handler(window, [](HWND, int, int, LPARAM) -> intptr_t { return 1; });
  ui::register_tool_tip_owner(4242, window);
  SendMessageA(window, WM_USER + 7, 0, 0);
  EXPECT_EQ(hook_calls, 1);
  DestroyWindow(window);
  EXPECT_FALSE(ui::message_hook_of(window));
  EXPECT_FALSE(ui::child_handler_of(window));
  EXPECT_EQ(ui::tool_tip_owner_of(4242), nullptr);
}

// A message hook sees a window's messages first: non-zero ends the message
// with that result, 0 passes it on to the control.
TEST_F(Toolkit, MessageHooksComeFirstAndPassOnWithZero) {
  HWND dialog = open();
  ui::EditControl edit;
  ASSERT_TRUE(edit.attach(dialog, 1006));
  ui::register_message_hook(edit.handle(), [](HWND, UINT message, WPARAM, LPARAM) -> intptr_t {
    return message == WM_GETTEXTLENGTH ? 77 : 0;
  });
  edit.set_text("四个字符");
  EXPECT_EQ(SendMessageW(edit.handle(), WM_GETTEXTLENGTH, 0, 0), 77);
  EXPECT_EQ(edit.text(), "四个字符");  // WM_GETTEXT passed on
  ui::register_message_hook(edit.handle(), nullptr);
  EXPECT_EQ(SendMessageW(edit.handle(), WM_GETTEXTLENGTH, 0, 0), 4);  // characters: a Unicode window
}

intptr_t child_answer = 0;
intptr_t child_handler(HWND, int code, int id, LPARAM) {
  record("child " + std::to_string(code) + " " + std::to_string(id));
  return child_answer;
}

// Child notifications reach the child's handler before the control's own
// events; a non-zero answer ends them there.
TEST_F(Toolkit, ChildCommandsAndNotificationsReachTheirHandler) {
  HWND dialog = open();
  ui::ButtonControl button;
  ASSERT_TRUE(button.attach(dialog, 1001));
  button.on_click(on_click);
  ui::register_child_handler(button.handle(), child_handler);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), LPARAM(button.handle()));
  child_answer = 1;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), LPARAM(button.handle()));
  NMHDR header{button.handle(), 1001, UINT(NM_SETFOCUS)};
  EXPECT_EQ(SendMessageA(dialog, WM_NOTIFY, 1001, LPARAM(&header)), 1);
  child_answer = 0;
  ui::register_child_handler(button.handle(), nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"init", "child 0 1001", "click", "child 0 1001",
                                              "child -7 1001"}));
}

// A tool tip asking for its text is answered by the window registered as
// its owner, not by the tool tip that sent the request.
struct ToolTipOwner : ui::WindowBase {
  int asked_for = 0;
  LRESULT child_notify(HWND, HWND, int code, int id, NMHDR*) override {
    if (code == int(TTN_NEEDTEXTA)) asked_for = id;
    return 0;
  }
};

TEST_F(Toolkit, ToolTipTextIsAskedOfItsOwner) {
  HWND dialog = open();
  ToolTipOwner owner;
  ASSERT_TRUE(owner.attach(dialog, 1006));
  ui::register_tool_tip_owner(31, owner.handle());
  NMTTDISPINFOA request{};
  request.hdr = {reinterpret_cast<HWND>(0x1234), 31, UINT(TTN_NEEDTEXTA)};
  SendMessageA(dialog, WM_NOTIFY, 0, LPARAM(&request));
  EXPECT_EQ(owner.asked_for, 31);
}

intptr_t handled_nothing(int, int, int) { return 0; }

// A click whose handler returns 0 still reaches the button's own procedure,
// which pushes the button.
TEST_F(Toolkit, AHandlerReturningZeroLeavesTheControlItsMessage) {
  HWND dialog = open();
  ui::ButtonControl button;
  ASSERT_TRUE(button.attach(dialog, 1001));
  button.on_left_button_down(handled_nothing);
  SendMessageA(button.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_TRUE(SendMessageA(button.handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
  SendMessageA(button.handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ReleaseCapture();
}

WNDPROC edit_procedure = nullptr;
bool restored_at_end = false;
LRESULT CALLBACK spy_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCDESTROY)
    restored_at_end =
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == spy_procedure;
  return CallWindowProcW(edit_procedure, window, message, wparam, lparam);
}

// At WM_NCDESTROY the window gets its previous procedure back before that
// procedure sees the message.
TEST_F(Toolkit, ThePreviousProcedureIsRestoredAtTheEnd) {
  HWND dialog = open();
  HWND window = GetDlgItem(dialog, 1006);
  edit_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy_procedure)));
  ui::EditControl edit;
  ASSERT_TRUE(edit.attach(dialog, 1006));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)),
            ui::shared_window_procedure);
  DestroyWindow(window);
  EXPECT_TRUE(restored_at_end);
  EXPECT_EQ(edit.handle(), nullptr);
}

// What the tray operations asked of the shell.
std::vector<std::string> tray_calls;
bool record_tray(DWORD operation, NOTIFYICONDATAA* data) {
  const char* names[] = {"add", "modify", "delete"};
  std::string call = operation < 3 ? names[operation] : "?";
  call += std::string(" ") + data->szTip;
  if (data->uFlags & NIF_INFO) call += std::string(" balloon ") + data->szInfo;
  tray_calls.push_back(call);
  return true;
}

// The icon is added, changed, shows a balloon, and comes back when the
// taskbar is made again (after the shell restarted).
TEST_F(Toolkit, TrayIconIsAddedChangedAndAddedAgainForANewTaskbar) {
  HWND dialog = open();
  tray_calls.clear();
  ui::set_tray_notifier(record_tray);
  ASSERT_TRUE(form.add_tray_icon(LoadIcon(nullptr, IDI_APPLICATION), "快递单"));
  EXPECT_TRUE(form.set_tray_tip("已打印 3 张"));
  EXPECT_TRUE(form.show_balloon("有新版本"));
  SendMessageA(dialog, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(form.remove_tray_icon());
  EXPECT_FALSE(form.has_tray_icon());
  ui::set_tray_notifier(nullptr);
  EXPECT_EQ(tray_calls,
            (std::vector<std::string>{"add 快递单", "modify 已打印 3 张",
                                      "modify 已打印 3 张 balloon 有新版本", "delete 已打印 3 张",
                                      "add 已打印 3 张", "delete 已打印 3 张"}));
}

TEST(DialogForm, ADialogThatCannotBeMadeReturnsZero) {
  ui::DialogForm form;
  EXPECT_EQ(form.run_modal(nullptr, 4711, nullptr), 0);
}

// Sub-menus and a window's menu belong to their parent once handed over:
// the objects never destroy them a second time.
TEST(MenuObject, OwnershipPassesToTheParentMenuAndTheWindow) {
  auto sub = std::make_unique<ui::MenuObject>();
  ASSERT_TRUE(sub->create_pop_up());
  HMENU sub_menu = sub->handle();
  {
    ui::MenuObject bar;
    ASSERT_TRUE(bar.create_bar());
    ASSERT_TRUE(bar.append_sub_menu(*sub, "文件"));
    EXPECT_FALSE(sub->owns());
    sub.reset();  // the object goes first: the parent's sub-menu stays
    EXPECT_TRUE(IsMenu(sub_menu));
    EXPECT_EQ(GetSubMenu(bar.handle(), 0), sub_menu);
  }
  EXPECT_FALSE(IsMenu(sub_menu));  // destroyed once, with its parent

  HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  HMENU bar_menu = nullptr;
  {
    ui::MenuObject bar;
    ASSERT_TRUE(bar.create_bar());
    bar_menu = bar.handle();
    ASSERT_TRUE(bar.set_as_menu_of(window));
    EXPECT_FALSE(bar.owns());
  }
  EXPECT_TRUE(IsMenu(bar_menu));  // the window's menu outlives the object
  EXPECT_EQ(GetMenu(window), bar_menu);
  DestroyWindow(window);
}

TEST(MenuObject, ItemsByPosition) {
  ui::MenuObject menu;
  ASSERT_TRUE(menu.create_pop_up());
  HMENU other = CreatePopupMenu();
  EXPECT_FALSE(menu.adopt(other));  // a handle is held already
  DestroyMenu(other);
  EXPECT_TRUE(menu.append_item(10, "打开"));
  EXPECT_TRUE(menu.append_separator());
  EXPECT_TRUE(menu.append_item(11, "关闭"));
  EXPECT_TRUE(menu.insert_item(0, 9, "新建"));
  EXPECT_EQ(menu.item_count(), 4);
  EXPECT_EQ(menu.item_text(0), "新建");
  EXPECT_EQ(menu.item_id(3), 11);
  EXPECT_TRUE(menu.radio_check(0, 1, 1));
  EXPECT_TRUE(menu.item_state(1) & MF_CHECKED);
  EXPECT_TRUE(menu.set_item_text(3, "退出"));
  EXPECT_EQ(menu.item_text(3), "退出");
  EXPECT_TRUE(menu.remove(2));
  EXPECT_EQ(menu.item_count(), 3);
}

}  // namespace
