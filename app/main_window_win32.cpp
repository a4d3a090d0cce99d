#include "app/main_window_win32.h"

namespace app {

bool MainWindowControls::bind(HWND dialog) {
  struct Binding {
    ui::WindowBase* object;
    int id;
  };
  const Binding bindings[] = {
      {&recognise_button, view::control::recognise_button}, {&settings_button, view::control::settings_button},
      {&print_button, view::control::print_button},     {&batch_print_button, view::control::batch_print_button},
      {&help_button, view::control::help_button},      {&status, view::control::status_line},
      {&default_link, view::control::default_link},
  };
  bool all = true;
  for (const Binding& b : bindings) all = b.object->attach(dialog, b.id) && all;
  for (auto [combo, id] : {std::pair{&name_box, view::control::name_box},
                           std::pair{&template_list, view::control::template_list},
                           std::pair{&printer_list, view::control::printer_list}})
    all = combo->attach(dialog, id) && all;
  for (auto [edit, id] :
       {std::pair{&mobile_phone, view::control::mobile_phone},
        std::pair{&fixed_phone, view::control::fixed_phone},
        std::pair{&address, view::control::address}, std::pair{&goods, view::control::goods},
        std::pair{&sender_name, view::control::sender_name},
        std::pair{&sender_mobile, view::control::sender_mobile},
        std::pair{&sender_fixed_phone, view::control::sender_fixed_phone},
        std::pair{&sender_address, view::control::sender_address},
        std::pair{&left_offset, view::control::left_offset},
        std::pair{&top_offset, view::control::top_offset}})
    all = edit->attach(dialog, id) && all;
  return all;
}

ui::WindowBase* Win32MainView::control(int id) const {
  switch (id) {
    case view::control::recognise_button: return &c_.recognise_button;
    case view::control::settings_button: return &c_.settings_button;
    case view::control::print_button: return &c_.print_button;
    case view::control::batch_print_button: return &c_.batch_print_button;
    case view::control::help_button: return &c_.help_button;
    case view::control::status_line: return &c_.status;
    case view::control::mobile_phone: return &c_.mobile_phone;
    case view::control::fixed_phone: return &c_.fixed_phone;
    case view::control::address: return &c_.address;
    case view::control::goods: return &c_.goods;
    case view::control::sender_name: return &c_.sender_name;
    case view::control::sender_mobile: return &c_.sender_mobile;
    case view::control::sender_fixed_phone: return &c_.sender_fixed_phone;
    case view::control::sender_address: return &c_.sender_address;
    case view::control::left_offset: return &c_.left_offset;
    case view::control::top_offset: return &c_.top_offset;
    default: return combo(id);
  }
}

ui::ComboControl* Win32MainView::combo(int id) const {
  switch (id) {
    case view::control::name_box: return &c_.name_box;
    case view::control::template_list: return &c_.template_list;
    case view::control::printer_list: return &c_.printer_list;
    default: return nullptr;
  }
}

std::string Win32MainView::text(int id) const {
  ui::WindowBase* w = control(id);
  return w ? w->text() : std::string();
}

void Win32MainView::set_text(int id, std::string_view gbk) {
  if (ui::WindowBase* w = control(id)) w->set_text(gbk);
}

void Win32MainView::list_clear(int id) {
  if (ui::ComboControl* c = combo(id)) c->clear();
}

void Win32MainView::list_add(int id, std::string_view gbk) {
  if (ui::ComboControl* c = combo(id)) c->add_item(gbk);
}

int Win32MainView::list_selection(int id) const {
  ui::ComboControl* c = combo(id);
  return c ? c->selection() : -1;
}

void Win32MainView::list_select(int id, int position) {
  if (ui::ComboControl* c = combo(id)) c->select(position);
}

std::string Win32MainView::list_item(int id, int position) const {
  ui::ComboControl* c = combo(id);
  return c ? c->item_text(position) : std::string();
}

bool Win32MainView::enabled(int id) const {
  ui::WindowBase* w = control(id);
  return w && !w->disabled();
}

void Win32MainView::set_enabled(int id, bool on) {
  if (ui::WindowBase* w = control(id)) w->set_disabled(!on);
}

int Win32MainView::width() const {
  RECT r{};
  GetWindowRect(c_.form.handle(), &r);
  return r.right - r.left;
}

void Win32MainView::set_width(int pixels) { c_.form.move(nullptr, nullptr, &pixels, nullptr); }

void Win32MainView::set_status(std::string_view gbk) { c_.status.set_text(gbk); }

}  // namespace app
