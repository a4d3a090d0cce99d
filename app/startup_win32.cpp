// The program's start, its main window's initialisation and events, and its
// end. One thread; every handler runs on it.
#include <windows.h>
// After windows.h.
#include <ole2.h>

#include <memory>
#include <optional>
#include <string>

#include "app/canvas_surface_win32.h"
#include "app/main_window_win32.h"
#include "app/history_window_win32.h"
#include "app/update_progress_win32.h"
#include "app/preview_window_win32.h"
#include "app/settings.h"
#include "app/startup_win32.h"
#include "app/templates.h"
#include "app/update_check.h"
#include "net/http.h"
#include "print/print_job.h"
#include "recognize/recognizer.h"
#include "regex/support_libraries.h"
#include "regex/system_service.h"
#include "runtime/errors.h"
#include "runtime/message_box.h"
#include "ui/canvas.h"

namespace app {

namespace {

constexpr int kMainWindowTemplate = 1000;
constexpr int kIcon = 129;
constexpr int kCollapsedWidth = 300;
constexpr uint32_t kBannerDeadlineMs = 5000;
// The banner browser, in pixels of the client area.
constexpr int kBannerX = 0, kBannerY = 246, kBannerWidth = 295, kBannerHeight = 80;

// The application state, held from start-up to the exit routine.
struct Application {
  MainWindowControls controls;
  Win32MainView view{controls};
  // Made once the settings path is known.
  std::optional<Settings> settings;
  std::optional<recognize::Recognizer> recognizer;
  ui::Canvas canvas;
  CanvasSurface print_surface{canvas};
  std::optional<print::PrintJob> print_job;  // made with the main window
  std::string settings_path;
  HWND main_window = nullptr;
  std::string banner_page;
};

std::unique_ptr<Application> application;
ExitObserver exit_observer = nullptr;

intptr_t on_recognise() {
  application->recognizer->recognise_clipboard();
  return 0;
}
intptr_t on_settings_button() {
  application->settings->toggle_settings(application->view,
                                         reinterpret_cast<uintptr_t>(application->main_window));
  return 0;
}
intptr_t on_help() {
  show_tutorial(application->main_window);
  return 0;
}
intptr_t on_print() {
  application->print_job->print_waybill(application->settings->current_printer());
  return 0;
}
// Commands of the main window's system menu: there is no room for more
// buttons without moving the ones sellers know.
constexpr int kPreviewCommand = 0x0100;
constexpr int kCalibrationCommand = 0x0110;
constexpr int kHistoryCommand = 0x0120;

// "打印" pressed in another window (the preview, the history): that window
// asks the questions.
void print_shown_waybill(HWND asking) {
  print::PrintJob& job = *application->print_job;
  uintptr_t main_window = job.owner();
  job.set_owner(reinterpret_cast<uintptr_t>(asking));
  job.print_waybill(application->settings->current_printer());
  job.set_owner(main_window);
}

intptr_t on_system_command(int command) {
  if (command == kPreviewCommand)
    show_preview({application->main_window, &*application->print_job, &application->view,
                  application->settings_path, print_shown_waybill});
  if (command == kCalibrationCommand &&
      application->print_job->print_calibration_sheet(application->settings->current_printer()) ==
          print::PrintOutcome::printed)
    application->print_job->correct_offsets();
  if (command == kHistoryCommand)
    show_history({application->main_window, &application->view, print_shown_waybill});
  return 0;
}

void add_system_menu_commands(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kPreviewCommand, "预览快递单(&V)…");
  AppendMenuA(menu, MF_STRING, kCalibrationCommand, "打印校准页(&C)…");
  AppendMenuA(menu, MF_STRING, kHistoryCommand, "打印记录(&H)…");
}

intptr_t on_print_all() {
  application->print_job->print_all(*application->recognizer,
                                    application->settings->current_printer());
  return 0;
}
intptr_t on_name_chosen() {
  application->recognizer->show_record();
  return 0;
}
intptr_t on_default_link(int) {
  set_default_template(application->view, application->settings_path);
  return 0;
}

void attach_event_handlers(MainWindowControls& c) {
  c.recognise_button.on_click(on_recognise);
  c.settings_button.on_click(on_settings_button);
  c.help_button.on_click(on_help);
  c.print_button.on_click(on_print);
  c.batch_print_button.on_click(on_print_all);
  c.name_box.on_selection_change(on_name_chosen);
  c.default_link.on_link_click(on_default_link);
  c.form.on_system_command(on_system_command);
}

// Asks the message loop to end (after an update started the new version).
void post_quit() { PostQuitMessage(0); }

void show_download(bool shown) {
  if (shown)
    show_update_progress(application->main_window);
  else
    close_update_progress();
}

UpdateContext update_context() {
  Application& app = *application;
  return {app.view,    app.banner_page, release_url(), reinterpret_cast<uintptr_t>(app.main_window),
          post_quit, show_download,   update_cancelled};
}

constexpr UINT_PTR kOfferTimer = 1;

void CALLBACK offer_update_now(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  try {
    if (application) offer_update(update_context());
  } catch (...) {
    // Nothing may unwind into the system's timer dispatch; the program
    // carries on as it was.
  }
}

// Runs once, when the main window exists and before it is first shown.
intptr_t initialise_main_window(HWND window) {
  Application& app = *application;
  app.main_window = window;
  SendMessageA(
      window, WM_SETICON, ICON_BIG,
      reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIcon))));
  app.view.set_width(kCollapsedWidth);
  SetWindowTextA(window, kCaption);
  app.controls.bind(window);
  attach_event_handlers(app.controls);
  add_system_menu_commands(window);
  app.print_job.emplace(app.view, app.print_surface, app.settings_path,
                        reinterpret_cast<uintptr_t>(window), template_row);
  std::vector<std::string> printers;
  ui::Canvas::list_printers(printers);
  app.settings->load_settings(app.view, printers);
  net::HttpRequest banner_request;
  banner_request.url = banner_page_url();
  // The window waits for the page: whatever the server does, not long.
  banner_request.deadline_ms = kBannerDeadlineMs;
  app.banner_page = net::http_request_text(banner_request);
  // Without a browser engine the banner stays empty; the program carries on.
  app.controls.banner.create(window, banner_page_url(), kBannerX, kBannerY, kBannerWidth,
                             kBannerHeight, WS_CHILD | WS_VISIBLE, 0);
  // An offer is asked about once the window is shown: its downloads take
  // time, and the seller sees the window meanwhile.
  if (check_for_update(update_context())) SetTimer(window, kOfferTimer, 0, offer_update_now);
  if (!seed_templates(app.settings_path, app.banner_page))
    app.view.set_status("快递模板无法写入 " + app.settings_path + "，下次启动不会保留");
  fill_template_list(app.view, app.settings_path);
  return 0;
}

// Releases the application state and every control object.
void exit_routine() {
  application.reset();
  if (exit_observer) exit_observer();
}

}  // namespace

int show_message(const char* text, unsigned buttons, const char* caption, HWND owner) {
  return rt_message_box(text, caption ? caption : "信息", buttons,
                        reinterpret_cast<uintptr_t>(owner)) -
         1;
}

void show_tutorial(HWND owner) {
  show_message(
      "1.第一次使用请设置好发件人和打印机\r\n2."
      "从淘宝订单详请页复制地址信息再点识别，可以识别一条地址信息\r\n"
      "3.点击已卖出的宝贝，选择订单再点击批量发货，新网页全选复制，再点识别，可多条连打\r\n4."
      "不懂别问我",
      RT_MB_OK, "使用教程", owner);
}

void set_exit_observer(ExitObserver observer) { exit_observer = observer; }

void start() {
  OleInitialize(nullptr);
  ui::BrowserControl::initialise_host();
  rt_start_libraries(support_libraries);
  rx::set_regex_service_factory(rx::create_system_or_builtin_regex_service);
  application = std::make_unique<Application>();
  rt_set_exit_step(RtExitStep::program_handler, exit_routine);
  Application& app = *application;
  app.settings_path = working_settings_path();
  app.settings.emplace(app.settings_path);
  app.recognizer.emplace(app.view, app.settings_path);
  hide_settings_file(app.settings_path);
  application->controls.form.run_modal(nullptr, kMainWindowTemplate, initialise_main_window);
  rt_exit(0);
}

}  // namespace app
