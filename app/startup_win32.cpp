// The program's start, its main window's initialisation and events, and its
// end. One thread; every handler runs on it.
#include <windows.h>
// After windows.h.
#include <ole2.h>
#include <shellapi.h>

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
#include "app/window_asker_win32.h"
#include "net/http.h"
#include "print/batch_print.h"
#include "print/offset_correction.h"
#include "print/print_job.h"
#include "recognize/recognizer.h"
#include "regex/support_libraries.h"
#include "regex/system_service.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/platform.h"
#include "runtime/text_encoding.h"
#include "ui/canvas.h"
#include "view/control_ids.h"

namespace app {

namespace {

constexpr int kMainWindowTemplate = SLIPJET_MAIN_DIALOG;
constexpr int kIcon = SLIPJET_ICON;
constexpr int kCollapsedWidth = 300;
constexpr uint32_t kBannerDeadlineMs = 5000;
// The banner browser, in pixels of the client area.
constexpr int kBannerX = 0, kBannerY = 305, kBannerWidth = 295, kBannerHeight = 66;

// Commands of the main window's system menu: there is no room for more
// buttons without moving the ones sellers know.
constexpr int kPreviewCommand = 0x0100;
// Where a new seller starts, and where the tools are.
constexpr char kFirstStartNote[] =
    "首次使用：先点“设置”填写寄件人。模板下面可预览快递单、打印校准页、查看打印记录。";
constexpr int kCalibrationCommand = 0x0110;
constexpr int kHistoryCommand = 0x0120;
constexpr int kGuideCommand = 0x0130;
// The seller's guide, which a release puts beside the program.
constexpr char kGuideFile[] = "使用说明.html";
constexpr UINT_PTR kOfferTimer = 1;
constexpr char kCreateLogQuestion[] =
    "程序所在的文件夹里没有打印记录文件 地址.txt，这张快递单没有记下来。\r\n"
    "现在创建它并记下这一张吗？有了它才能查看打印记录、补打，重复打印前会提醒，连打中断后能接着打。\r\n"
    "（选“否”，这次运行不再询问。）";

// The program's state, held from start-up to the exit routine; the main
// window's handlers are its member functions.
class Application {
 public:
  Application();
  // Runs the main window until it closes.
  void run() { controls_.form.run_modal(nullptr, kMainWindowTemplate, [this](HWND window) {
    return initialise_main_window(window);
  }); }

 private:
  intptr_t initialise_main_window(HWND window);
  void attach_event_handlers();
  void add_system_menu_commands();
  void system_command(int command);
  void open_guide();
  void print_shown_waybill(HWND asking, bool chosen_reprint,
                           const std::string& earlier_waybill_number = {});
  void start_or_stop_batch();
  UpdateContext update_context();
  void offer_update_once(UINT_PTR timer);

  MainWindowControls controls_;
  Win32MainView view_{controls_};
  std::string settings_path_;
  Settings settings_;
  recognize::Recognizer recognizer_;
  ui::Canvas canvas_;
  CanvasSurface print_surface_{canvas_};
  std::optional<print::PrintJob> print_job_;  // made with the main window
  HWND main_window_ = nullptr;
  view::BoxAsker asker_;  // the main window's, once it exists
  bool batch_running_ = false;
  bool batch_stop_requested_ = false;
  std::string banner_page_;
  PreviewWindow preview_;
  HistoryWindow history_;
  UpdateProgressWindow update_progress_;
};

Application::Application()
    : settings_path_(working_settings_path()),
      settings_(settings_path_),
      recognizer_(view_, settings_path_, asker_) {
  hide_settings_file(settings_path_);
}

// "打印" pressed in another window (the preview, the history): that window
// asks the questions. A reprint the seller chose in the history is not
// asked about as a duplicate.
void Application::print_shown_waybill(HWND asking, bool chosen_reprint,
                                      const std::string& earlier_waybill_number) {
  using Kind = print::PrintRequest::Kind;
  view::BoxAsker asker = asker_of(asking);
  print::PrintRequest request;
  request.kind = chosen_reprint ? Kind::chosen_reprint : Kind::single;
  request.asker = &asker;
  request.earlier_waybill_number = earlier_waybill_number;
  print_job_->print_waybill(settings_.current_printer(), request);
}

// The batch button starts "连打", and while it runs reads "停止": a click
// then (or the window closing) ends it after the waybill in progress.
void Application::start_or_stop_batch() {
  if (batch_running_) {
    batch_stop_requested_ = true;
    view_.set_enabled(view::control::batch_print_button, false);
    view_.set_status("连打正在停止：这一张打完就停");
    return;
  }
  batch_running_ = true;
  batch_stop_requested_ = false;
  print::print_batch(*print_job_, recognizer_, settings_.current_printer(), [this] {
    return batch_stop_requested_ || platform_is_closing(reinterpret_cast<uintptr_t>(main_window_));
  });
  batch_running_ = false;
}

void Application::system_command(int command) {
  auto print_here = [this](HWND asking) { print_shown_waybill(asking, false); };
  auto reprint_here = [this](HWND asking, const std::string& earlier_number) {
    print_shown_waybill(asking, true, earlier_number);
  };
  if (command == kPreviewCommand)
    preview_.show({main_window_, &*print_job_, &view_, settings_path_, print_here,
                   [this] { return settings_.current_printer(); }});
  if (command == kCalibrationCommand &&
      print_job_->print_calibration_sheet(settings_.current_printer()) ==
          print::PrintOutcome::printed)
    print::correct_offsets(view_, settings_path_, asker_);
  if (command == kHistoryCommand)
    history_.show({main_window_, &view_, reprint_here});
  if (command == kGuideCommand) open_guide();
}

// Opens the guide beside the program in the seller's browser; says where it
// belongs when it is not there.
void Application::open_guide() {
  std::string path = std::string(rt::exe_dir().view()) + "\\" + kGuideFile;
  std::wstring wide = rt::widen(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  bool there = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (there && reinterpret_cast<INT_PTR>(ShellExecuteW(main_window_, L"open", wide.c_str(), nullptr,
                                                       nullptr, SW_SHOWNORMAL)) > 32)
    return;
  std::string text = there ? "打不开“" + path + "”：这台电脑上没有能打开网页文件的程序。"
                           : std::string("程序所在的文件夹里没有“") + kGuideFile +
                                 "”。它在下载的压缩包里，和 slipjet.exe 解压到同一个文件夹即可。";
  asker_.tell(text, "使用说明", RT_MB_ICONINFORMATION);
}

void Application::add_system_menu_commands() {
  HMENU menu = GetSystemMenu(main_window_, FALSE);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kPreviewCommand, "预览快递单(&V)…");
  AppendMenuA(menu, MF_STRING, kCalibrationCommand, "打印校准页(&J)…");
  AppendMenuA(menu, MF_STRING, kHistoryCommand, "打印记录(&H)…");
  AppendMenuA(menu, MF_STRING, kGuideCommand, "使用说明(&U)…");
}

void Application::attach_event_handlers() {
  MainWindowControls& c = controls_;
  // Every handler passes its event on (0) after doing its work.
  auto then_pass = [](auto work) {
    return [work](auto...) -> intptr_t {
      work();
      return 0;
    };
  };
  c.recognise_button.on_click(then_pass([this] { recognizer_.recognise_clipboard(); }));
  c.settings_button.on_click(then_pass(
      [this] {
        settings_.toggle_settings(view_, asker_,
                                  [this](const std::string& printer, bool changed) {
                                    return print_job_->settings_accepted(printer, changed);
                                  });
      }));
  c.help_button.on_click(then_pass([this] {
    if (show_tutorial(asker_)) open_guide();
  }));
  c.print_button.on_click(
      then_pass([this] { print_job_->print_waybill(settings_.current_printer()); }));
  c.batch_print_button.on_click(then_pass([this] { start_or_stop_batch(); }));
  c.name_box.on_selection_change(then_pass([this] { recognizer_.show_record(); }));
  // Each template is a courier's stack of forms with its own next number.
  c.template_list.on_selection_change(then_pass([this] {
    if (print_job_) print_job_->show_form_number();
  }));
  c.waybill_number.on_change(then_pass([this] {
    if (print_job_) print_job_->keep_typed_form_number();
  }));
  c.default_link.on_link_click(
      [this](int) -> intptr_t { return set_default_template(view_, settings_path_), 0; });
  for (auto [link, command] : {std::pair{&c.preview_link, kPreviewCommand},
                                {&c.calibration_link, kCalibrationCommand},
                                {&c.history_link, kHistoryCommand}})
    link->on_link_click([this, command](int) -> intptr_t { return system_command(command), 0; });
  c.form.on_system_command([this](int command) -> intptr_t { return system_command(command), 0; });
  c.form.on_timer([this](UINT_PTR timer) -> intptr_t { return offer_update_once(timer), 1; });
}

UpdateContext Application::update_context() {
  return {view_,
          asker_,
          banner_page_,
          release_url(),
          [] { PostQuitMessage(0); },  // the new version has started
          [this](bool shown) {
            if (shown)
              update_progress_.show(main_window_);
            else
              update_progress_.close();
          },
          // Closing the window cancels the download: nothing is installed
          // or started after it.
          [this] {
            return update_progress_.cancelled() ||
                   platform_is_closing(reinterpret_cast<uintptr_t>(main_window_));
          }};
}

void Application::offer_update_once(UINT_PTR timer) {
  KillTimer(main_window_, timer);
  if (timer == kOfferTimer) offer_update(update_context());
}

// Runs once, when the main window exists and before it is first shown.
intptr_t Application::initialise_main_window(HWND window) {
  bool first_start = !rt::file_exists(settings_path_);
  main_window_ = window;
  asker_ = asker_of(window);
  SendMessageA(
      window, WM_SETICON, ICON_BIG,
      reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIcon))));
  view_.set_width(kCollapsedWidth);
  SetWindowTextA(window, kCaption);
  controls_.bind(window);
  // The first-start note and a batch's reasons are longer than a line.
  controls_.status.show_text_over(2);
  attach_event_handlers();
  add_system_menu_commands();
  print_job_.emplace(view_, print_surface_, settings_path_, asker_);
  // A release ships an empty log; a seller who lost it gets it back with
  // the next waybill instead of a history that silently stays empty.
  print_job_->set_log_offer(
      [](view::Asker& asker) { return asker.yes(kCreateLogQuestion, "打印记录"); });
  std::vector<std::string> printers;
  ui::Canvas::list_printers(printers);
  settings_.load_settings(view_, printers, ui::Canvas::default_printer_name());
  net::HttpRequest banner_request;
  banner_request.url = banner_page_url();
  // The window waits for the page: whatever the server does, not long.
  banner_request.deadline_ms = kBannerDeadlineMs;
  banner_page_ = net::http_request_text(banner_request);
  // Without a browser engine the banner stays empty; the program carries on.
  const ui::WindowBase& form = controls_.form;
  controls_.banner.create(window, banner_page_url(), form.px(kBannerX), form.px(kBannerY),
                          form.px(kBannerWidth), form.px(kBannerHeight), WS_CHILD | WS_VISIBLE, 0);
  // An offer is asked about once the window is shown: its downloads take
  // time, and the seller sees the window meanwhile.
  if (check_for_update(update_context())) SetTimer(window, kOfferTimer, 0, nullptr);
  // What the server says stays; without a word from it, a first start tells
  // where to begin.
  UpdateState update = read_banner(banner_page_).state;
  if (first_start && (update == UpdateState::no_page || update == UpdateState::silent))
    view_.set_status(kFirstStartNote);
  if (!seed_templates(settings_path_, banner_page_))
    view_.set_status("快递模板无法写入 " + settings_path_ + "，下次启动不会保留");
  fill_template_list(view_, settings_path_);
  print_job_->show_form_number();
  return 0;
}

ExitObserver exit_observer = nullptr;

}  // namespace

bool show_tutorial(view::Asker& asker) {
  return asker.yes(
      "1.第一次使用请设置好发件人和打印机\r\n2."
      "从淘宝订单详请页复制地址信息再点识别，可以识别一条地址信息\r\n"
      "3.点击已卖出的宝贝，选择订单再点击批量发货，新网页全选复制，再点识别，可多条连打\r\n4."
      "不懂别问我\r\n\r\n打开使用说明（图文详解每一步）吗？",
      "使用教程", RT_MB_ICONINFORMATION);
}

void set_exit_observer(ExitObserver observer) { exit_observer = observer; }

void start() {
  OleInitialize(nullptr);
  ui::BrowserControl::initialise_host();
  rt_start_libraries(support_libraries);
  rx::set_regex_service_factory(rx::create_system_or_builtin_regex_service);
  // The exit sequence never returns here, so the state lives until its
  // first step releases it, wherever the program ends.
  auto application = std::make_unique<Application>();
  rt_set_exit_step(RtExitStep::program_handler, [&application] {
    application.reset();
    if (exit_observer) exit_observer();
  });
  application->run();
  rt_exit(0);
}

}  // namespace app
