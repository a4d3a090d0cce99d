// The main window: the dialog form, one toolkit object per bound control,
// and the view that recognition, settings and templates work through.
#pragma once

#include <array>

#include "ui/browser_control.h"
#include "ui/button_control.h"
#include "ui/combo_control.h"
#include "ui/dialog_form.h"
#include "ui/edit_control.h"
#include "ui/link_control.h"
#include "ui/status_bar_control.h"
#include "view/main_view.h"

namespace app {

struct MainWindowControls {
  ui::DialogForm form;
  ui::ButtonControl recognise_button, settings_button, print_button, batch_print_button,
      help_button;
  ui::ComboControl name_box, template_list, printer_list;
  ui::EditControl mobile_phone, fixed_phone, address, goods, sender_name, sender_mobile,
      sender_fixed_phone, sender_address, left_offset, top_offset, waybill_number;
  ui::Control order_number;
  ui::StatusBarControl status;
  ui::LinkControl default_link;
  // The preview, the calibration sheet and the history, in sight below the
  // template row (the title-bar menu has them too).
  ui::LinkControl preview_link, calibration_link, history_link;
  // The banner page at the foot of the order pane; made at run time.
  ui::BrowserControl banner;

  // Takes every control over from the dialog's items; false when one is
  // missing.
  bool bind(HWND dialog);
  // The control of a view id; null for an id the window does not have.
  ui::WindowBase* control(int id);
  ui::ComboControl* combo(int id);

 private:
  // The one table of the window's ids and controls, by kind (each kind
  // attaches its own way).
  template <typename Control>
  struct Entry {
    int id;
    Control* control;
  };
  std::array<Entry<ui::WindowBase>, 11> plain_controls();
  std::array<Entry<ui::ComboControl>, 3> combos();
  std::array<Entry<ui::EditControl>, 11> edits();
};

class Win32MainView : public view::MainView {
 public:
  explicit Win32MainView(MainWindowControls& controls) : c_(controls) {}

  std::string text(int id) const override;
  void set_text(int id, std::string_view gbk) override;
  void list_clear(int id) override;
  void list_add(int id, std::string_view gbk) override;
  int list_selection(int id) const override;
  void list_select(int id, int position) override;
  std::string list_item(int id, int position) const override;
  int list_count(int id) const override;
  bool enabled(int id) const override;
  void set_enabled(int id, bool on) override;
  int width() const override;
  void set_width(int pixels) override;
  void set_status(std::string_view gbk) override;

 private:
  MainWindowControls& c_;
};

}  // namespace app
