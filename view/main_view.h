// What the application needs of its main window, by control identifier, so
// that the shell's, recognition's and printing's logic runs and is tested
// without the Win32 window.
#pragma once

#include <string>
#include <string_view>

#include "view/control_ids.h"

namespace view {

// Control identifiers of the main window (numbered in view/control_ids.h,
// which the dialog resource reads too).
namespace control {
inline constexpr int recognise_button = SLIPJET_RECOGNISE_BUTTON;
inline constexpr int print_button = SLIPJET_PRINT_BUTTON;
inline constexpr int default_link = SLIPJET_DEFAULT_LINK;
inline constexpr int preview_link = SLIPJET_PREVIEW_LINK;
inline constexpr int calibration_link = SLIPJET_CALIBRATION_LINK;
inline constexpr int history_link = SLIPJET_HISTORY_LINK;
inline constexpr int help_button = SLIPJET_HELP_BUTTON;
inline constexpr int status_line = SLIPJET_STATUS_LINE;
inline constexpr int name_box = SLIPJET_NAME_BOX;
inline constexpr int mobile_phone = SLIPJET_MOBILE_PHONE;
inline constexpr int fixed_phone = SLIPJET_FIXED_PHONE;
inline constexpr int address = SLIPJET_ADDRESS;
inline constexpr int goods = SLIPJET_GOODS;
inline constexpr int batch_print_button = SLIPJET_BATCH_PRINT_BUTTON;
inline constexpr int settings_button = SLIPJET_SETTINGS_BUTTON;
inline constexpr int template_list = SLIPJET_TEMPLATE_LIST;
inline constexpr int sender_address = SLIPJET_SENDER_ADDRESS;
inline constexpr int sender_fixed_phone = SLIPJET_SENDER_FIXED_PHONE;
inline constexpr int sender_mobile = SLIPJET_SENDER_MOBILE;
inline constexpr int sender_name = SLIPJET_SENDER_NAME;
inline constexpr int left_offset = SLIPJET_LEFT_OFFSET;
inline constexpr int top_offset = SLIPJET_TOP_OFFSET;
inline constexpr int printer_list = SLIPJET_PRINTER_LIST;
// The number of the form in the printer (the next waybill's), and the
// order number of the record shown.
inline constexpr int waybill_number = SLIPJET_WAYBILL_NUMBER;
inline constexpr int order_number = SLIPJET_ORDER_NUMBER;
}  // namespace control

class MainView {
 public:
  virtual ~MainView() = default;

  // The text of a control (edit fields, buttons).
  virtual std::string text(int id) const = 0;
  virtual void set_text(int id, std::string_view gbk) = 0;

  // The items of a list or combo box; positions are 0-based, -1 is none.
  virtual void list_clear(int id) = 0;
  virtual void list_add(int id, std::string_view gbk) = 0;
  virtual int list_selection(int id) const = 0;
  virtual void list_select(int id, int position) = 0;
  virtual std::string list_item(int id, int position) const = 0;
  virtual int list_count(int id) const = 0;

  // Whether a control takes input (buttons are greyed out when not).
  virtual bool enabled(int id) const = 0;
  virtual void set_enabled(int id, bool on) = 0;

  // The window's outer width in pixels.
  virtual int width() const = 0;
  virtual void set_width(int pixels) = 0;

  virtual void set_status(std::string_view gbk) = 0;
};

}  // namespace view
