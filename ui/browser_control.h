// The platform's web-browser control inside a toolkit window: hosted by the
// control-hosting library's "AtlAxWin" class, driven by name through the
// automation bridge, its events received by a small hand-made sink.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <optional>
#include <string>

#include "runtime/automation.h"
#include "ui/window_base.h"

namespace ui {

class BrowserControl;

// Handlers of the browser's events (texts are GBK; by-reference arguments
// arrive as their addresses).
struct BrowserEvents {
  void (*status_text_change)(BrowserControl&, const std::string& text) = nullptr;
  void (*progress_change)(BrowserControl&, int32_t progress, int32_t maximum) = nullptr;
  void (*command_state_change)(BrowserControl&, int32_t command, bool enabled) = nullptr;
  void (*download_begin)(BrowserControl&) = nullptr;
  void (*download_complete)(BrowserControl&) = nullptr;
  void (*title_change)(BrowserControl&, const std::string& text) = nullptr;
  void (*before_navigate2)(BrowserControl&, IDispatch* browser, const std::string& url,
                           VARIANT_BOOL* cancel) = nullptr;
  void (*new_window2)(BrowserControl&, IDispatch** new_window, VARIANT_BOOL* cancel) = nullptr;
  void (*new_window3)(BrowserControl&, IDispatch** new_window, const std::string& url,
                      VARIANT_BOOL* cancel) = nullptr;
  void (*document_complete)(BrowserControl&, IDispatch* browser, const std::string& url) = nullptr;
};

class BrowserControl : public WindowBase {
 public:
  BrowserControl();
  ~BrowserControl() override;
  BrowserControl(const BrowserControl&) = delete;
  BrowserControl& operator=(const BrowserControl&) = delete;

  // Registers the host window class; once, before any browser is made.
  // False when the hosting library is missing.
  static bool initialise_host();

  // A host window with the browser; false when none could be made (or this
  // object has a window already).
  bool create(HWND parent, const std::optional<std::string>& url, int x, int y, int width = 400,
              int height = 300, std::optional<DWORD> style = std::nullopt,
              DWORD ex_style = WS_EX_CLIENTEDGE);
  bool attach_item(HWND parent, int id);
  // True when the sink is connected (a cookie was obtained). Refused while
  // a sink is registered already.
  bool connect_events();
  bool connected() const { return cookie_ != 0; }
  void navigate(const std::string& url);

  RtComObject& browser() { return browser_; }
  RtComObject document();
  std::string type();
  bool busy();
  std::string status_text();
  std::string location_url();
  int ready_state();
  bool offline(std::optional<bool> value = std::nullopt);
  bool silent(std::optional<bool> value = std::nullopt);
  std::string title();
  std::string page_source();
  void write_page(const std::string& html);

  BrowserEvents events;

  // Delivers one event to its handler (the sink's Invoke lands here).
  void event(DISPID id, DISPPARAMS* params, VARIANT* result);
  // The sink's COM identity while connected; null otherwise.
  IDispatch* sink() const { return static_cast<IDispatch*>(sink_); }

 protected:
  void class_cleanup() override;

 private:
  bool take_browser();
  void disconnect();
  bool property_flag(const char* name, std::optional<bool> value);

  RtComObject browser_{};
  RtComObject connection_point_{};
  const void* sink_table_ = nullptr;  // the sink's operation table
  void* sink_ = nullptr;              // &sink_table_
  IID sink_interface_{};
  DWORD cookie_ = 0;
};

// The sinks' shared reference counter (it frees nothing).
long browser_sink_references();

}  // namespace ui
