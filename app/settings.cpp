#include "app/settings.h"

#include "runtime/platform.h"
#include "runtime/settings_file.h"
#include "runtime/text_ops.h"

namespace app {

namespace {

constexpr int collapsed_width = 300;
constexpr int expanded_width = 600;
constexpr int pane_open_from = 400;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool is_letter_or_digit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

struct Key {
  const char* section;
  const char* name;
  int field;
};

// The fields in the order a save writes them.
const Key saved_fields[] = {
    {"dayinji", "left", view::control::left_offset},
    {"dayinji", "top", view::control::top_offset},
    {"ji", "jiname", view::control::sender_name},
    {"ji", "jitel", view::control::sender_fixed_phone},
    {"ji", "jiphone", view::control::sender_mobile},
};

}  // namespace

std::string settings_path_in(std::string_view directory) {
  std::string dir(rt::trim(directory).view());
  return dir + platform_path_separator() + "cfg.ini";
}

std::string working_settings_path() {
  char buffer[255];
  size_t n = platform_current_directory(buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return std::string(".") + platform_path_separator() + "cfg.ini";
  return settings_path_in(std::string_view(buffer, n));
}

bool hide_settings_file(const std::string& path) { return platform_hide_file(path.c_str()); }

std::string encode_setting_text(std::string_view text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (is_letter_or_digit(c)) {
      out += char(c);
    } else {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out;
}

std::string decode_setting_text(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    int high = i + 1 < text.size() ? hex_value(text[i + 1]) : -1;
    int low = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
    if (text[i] == '%' && high >= 0 && low >= 0) {
      if (int value = high * 16 + low; value != 0) out += char(value);
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

void Settings::load_settings(view::MainView& view,
                             std::span<const std::string> installed_printers) {
  auto read = [&](const char* section, const char* key) {
    return std::string(rt::ini_read(path_, section, key).view());
  };
  view.set_text(view::control::top_offset, read("dayinji", "top"));
  view.set_text(view::control::left_offset, read("dayinji", "left"));
  view.set_text(view::control::sender_name, read("ji", "jiname"));
  view.set_text(view::control::sender_fixed_phone, read("ji", "jitel"));
  view.set_text(view::control::sender_mobile, read("ji", "jiphone"));
  view.set_text(view::control::sender_address, decode_setting_text(read("ji", "jiqita")));
  current_printer_ = read("dayinji", "moren");
  for (size_t i = 0; i < installed_printers.size(); ++i) {
    view.list_add(view::control::printer_list, installed_printers[i]);
    if (installed_printers[i] == current_printer_)
      view.list_select(view::control::printer_list, int(i));
  }
}

void Settings::toggle_settings(view::MainView& view) {
  if (view.width() < pane_open_from) {
    view.set_width(expanded_width);
    view.set_text(view::control::settings_button, "保存");
    return;
  }
  view.set_text(view::control::settings_button, "设置");
  view.set_width(collapsed_width);
  for (const Key& key : saved_fields)
    rt::ini_write(path_, key.section, key.name, view.text(key.field));
  rt::ini_write(path_, "ji", "jiqita",
                encode_setting_text(view.text(view::control::sender_address)));
  int selected = view.list_selection(view::control::printer_list);
  std::string printer = selected >= 0 ? view.list_item(view::control::printer_list, selected) : "";
  rt::ini_write(path_, "dayinji", "moren", printer);
  current_printer_ = printer;
  view.set_status("已保存设置");
}

}  // namespace app
