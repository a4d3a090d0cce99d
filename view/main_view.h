// What the application needs of its main window, by control identifier, so
// that the shell's, recognition's and printing's logic runs and is tested
// without the Win32 window.
#pragma once

#include <string>
#include <string_view>

namespace view {

// Control identifiers of the main window.
namespace control {
inline constexpr int recognise_button = 1001;
inline constexpr int print_button = 1016;
inline constexpr int default_link = 1035;
inline constexpr int preview_link = 1041;
inline constexpr int calibration_link = 1042;
inline constexpr int history_link = 1043;
inline constexpr int help_button = 1037;
inline constexpr int status_line = 1002;
inline constexpr int name_box = 1004;
inline constexpr int mobile_phone = 1006;
inline constexpr int fixed_phone = 1007;
inline constexpr int address = 1009;
inline constexpr int goods = 1012;
inline constexpr int batch_print_button = 1017;
inline constexpr int settings_button = 1018;
inline constexpr int template_list = 1015;
inline constexpr int sender_address = 1020;
inline constexpr int sender_fixed_phone = 1021;
inline constexpr int sender_mobile = 1022;
inline constexpr int sender_name = 1023;
inline constexpr int left_offset = 1027;
inline constexpr int top_offset = 1011;
inline constexpr int printer_list = 1032;
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
