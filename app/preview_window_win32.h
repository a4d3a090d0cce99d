// The preview: what "打印" would put on the form, drawn by the print job's
// own layout code on a screen surface, over the 220 × 127 mm form's outline
// and, when the seller chose one for the template, a picture of the form.
// Texts that would be cut are framed in red.
#pragma once

#include <windows.h>

#include <string>

#include "print/print_job.h"
#include "view/main_view.h"

namespace app {

inline constexpr char kPreviewTitle[] = "快递单预览";

// What the preview works with; it outlives no part of it.
struct PreviewContext {
  HWND owner = nullptr;
  print::PrintJob* job = nullptr;
  view::MainView* view = nullptr;
  std::string settings_path;
  void (*print)(HWND asking) = nullptr;  // the main window's "打印", asking in `asking`
};

// Opens the preview (or brings the open one forward); it shows the main
// window's current waybill whenever it is painted.
void show_preview(const PreviewContext& context);

// The form picture's path of the template of that name, "" for none; kept
// in section "ditu" of the settings file under the template's name (a name
// a template may have; others have no picture).
std::string form_picture_path(const std::string& settings_path, const std::string& template_name);
bool set_form_picture_path(const std::string& settings_path, const std::string& template_name,
                           const std::string& path);

}  // namespace app
