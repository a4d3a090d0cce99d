#include "app/main_window_win32.h"

#include "ui/dpi.h"

namespace app {

namespace {

template <typename Entries>
auto find_control(const Entries& entries, int id) -> decltype(entries[0].control) {
  for (const auto& e : entries)
    if (e.id == id) return e.control;
  return nullptr;
}

}  // namespace

namespace id = view::control;

std::array<MainWindowControls::Entry<ui::WindowBase>, 11> MainWindowControls::plain_controls() {
  return {{{id::recognise_button, &recognise_button},
           {id::settings_button, &settings_button},
           {id::print_button, &print_button},
           {id::batch_print_button, &batch_print_button},
           {id::help_button, &help_button},
           {id::status_line, &status},
           {id::default_link, &default_link},
           {id::preview_link, &preview_link},
           {id::calibration_link, &calibration_link},
           {id::history_link, &history_link},
           {id::order_number, &order_number}}};
}

std::array<MainWindowControls::Entry<ui::ComboControl>, 3> MainWindowControls::combos() {
  return {{{id::name_box, &name_box}, {id::template_list, &template_list},
           {id::printer_list, &printer_list}}};
}

std::array<MainWindowControls::Entry<ui::EditControl>, 11> MainWindowControls::edits() {
  return {{{id::mobile_phone, &mobile_phone},
           {id::fixed_phone, &fixed_phone},
           {id::address, &address},
           {id::goods, &goods},
           {id::sender_name, &sender_name},
           {id::sender_mobile, &sender_mobile},
           {id::sender_fixed_phone, &sender_fixed_phone},
           {id::sender_address, &sender_address},
           {id::left_offset, &left_offset},
           {id::top_offset, &top_offset},
           {id::waybill_number, &waybill_number}}};
}

bool MainWindowControls::bind(HWND dialog) {
  bool all = true;
  for (auto e : plain_controls()) all = e.control->attach(dialog, e.id) && all;
  for (auto e : combos()) all = e.control->attach(dialog, e.id) && all;
  for (auto e : edits()) all = e.control->attach(dialog, e.id) && all;
  return all;
}

ui::WindowBase* MainWindowControls::control(int id) {
  if (ui::WindowBase* c = find_control(plain_controls(), id)) return c;
  if (ui::WindowBase* c = find_control(edits(), id)) return c;
  return combo(id);
}

ui::ComboControl* MainWindowControls::combo(int id) { return find_control(combos(), id); }

std::string Win32MainView::text(int id) const {
  ui::WindowBase* w = c_.control(id);
  return w ? w->text() : std::string();
}

void Win32MainView::set_text(int id, std::string_view gbk) {
  if (ui::WindowBase* w = c_.control(id)) w->set_text(gbk);
}

void Win32MainView::list_clear(int id) {
  if (ui::ComboControl* c = c_.combo(id)) c->clear();
}

void Win32MainView::list_add(int id, std::string_view gbk) {
  if (ui::ComboControl* c = c_.combo(id)) c->add_item(gbk);
}

int Win32MainView::list_selection(int id) const {
  ui::ComboControl* c = c_.combo(id);
  return c ? c->selection() : -1;
}

void Win32MainView::list_select(int id, int position) {
  if (ui::ComboControl* c = c_.combo(id)) c->select(position);
}

std::string Win32MainView::list_item(int id, int position) const {
  ui::ComboControl* c = c_.combo(id);
  return c ? c->item_text(position) : std::string();
}

int Win32MainView::list_count(int id) const {
  ui::ComboControl* c = c_.combo(id);
  return c ? c->item_count() : 0;
}

bool Win32MainView::enabled(int id) const {
  ui::WindowBase* w = c_.control(id);
  return w && !w->disabled();
}

void Win32MainView::set_enabled(int id, bool on) {
  if (ui::WindowBase* w = c_.control(id)) w->set_disabled(!on);
}

// Widths are the layout's, at 96 dpi; the window has them at its screen's scale.
int Win32MainView::width() const {
  RECT r{};
  GetWindowRect(c_.form.handle(), &r);
  return MulDiv(r.right - r.left, ui::kDefaultDpi, ui::window_dpi(c_.form.handle()));
}

void Win32MainView::set_width(int pixels) {
  int scaled = c_.form.px(pixels);
  c_.form.move(nullptr, nullptr, &scaled, nullptr);
}

void Win32MainView::set_status(std::string_view gbk) { c_.status.set_status_text(gbk); }

}  // namespace app
