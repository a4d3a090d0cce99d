// Drives slipjet.exe from another process as a user would: the clipboard,
// clicks, list choices, dialogs answered, texts read back with the wide
// calls. Texts are the program's own bytes (GB 18030).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class AppDriver {
 public:
  AppDriver();
  ~AppDriver();
  AppDriver(const AppDriver&) = delete;
  AppDriver& operator=(const AppDriver&) = delete;

  // The folder of slipjet.exe (where its log 地址.txt lives).
  static std::string program_folder();
  // A fresh working directory (cfg.ini goes there), removed afterwards.
  const std::string& folder() const { return folder_; }
  std::string read_file(const std::string& name) const;
  void write_file(const std::string& name, const std::string& bytes) const;

  // The program this driver starts: the one built beside the tests, or the
  // one SLIPJET_PROGRAM names (a packaged release); its path as Wine sees it.
  static std::string program_path();
  // A host path (as CMake and the scripts give them) as Wine sees it.
  static std::string wine_path(const std::string& host);
  // Starts the program in the folder and waits for its main window.
  bool start();
  // Starts `program` (default: program_path()) in `working_folder`
  // (default: the driver's folder), not waiting.
  bool launch(const std::string& program = program_path(), const std::string& working_folder = {});
  // Waits for the started process's main window to be shown (a busy
  // machine has taken more than 20 s).
  bool wait_for_main_window(int ms = 60000);
  HWND window() const { return window_; }
  // The started process's exit code once it has ended within `ms`; -1 if not.
  int wait_for_exit(int ms = 20000);
  // Closes the window as its close box does; the process's exit code, or
  // -1 when it did not end in time.
  int close();

  std::string text(int id) const;
  std::vector<std::string> items(int id) const;
  int selection(int id) const;
  bool enabled(int id) const;
  int window_width() const;
  void set_text(int id, const std::string& gbk) const;

  // A click whose handler returns before the next step.
  void click(int id) const;
  // A click whose handler opens a dialog: returns at once.
  void click_async(int id) const;
  // What a click on another window's button posts: returns at once.
  static void press(HWND window, int id);
  // A real mouse click in the middle of a control.
  void mouse_click(int id) const;
  // A real mouse click at a point of the screen, `window` brought forward.
  static void click_at(HWND window, int x, int y);
  // Chooses a list item as the user does, raising the selection change.
  void choose(int id, int index) const;

  static bool set_clipboard(const std::string& gbk);
  // Puts the text on the clipboard as Unicode only, as a chat program does.
  static bool set_unicode_clipboard(const std::string& text);
  // The top-level window of this caption, waiting up to `ms`.
  static HWND wait_for_window(const char* caption, int ms = 10000);
  // Waits until the control's text is `expected` (or the time is up).
  bool wait_for_text(int id, const std::string& expected, int ms = 10000) const;
  // Every visible main window, of whichever process.
  static std::vector<HWND> main_windows();
  // Ends the programs running from an executable in `folder`.
  static void end_programs_in(const std::string& folder);
  // Whether the test environment has a photographer (scripts/testenv
  // --photos).
  static bool can_photograph();
  // The window as the seller sees it, frame included, taken by the
  // photographer as NAME.png once it has painted; false without one or when
  // no picture came.
  static bool photograph(HWND window, const std::string& name);
  // The static text of a message box.
  static std::string box_text(HWND box);
  // Types into a dialog's edit box and presses its OK button.
  static void answer(HWND dialog, int edit_id, const std::string& gbk, int ok_id = IDOK);

 private:
  HWND item(int id) const { return GetDlgItem(window_, id); }

  std::string folder_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};
