// cfg.ini as this program keeps it: every section and key it reads or
// writes is named here and nowhere else. The names are the ones older
// versions wrote, kept so that every older file reads as before; the
// settings engine (runtime/settings_file.h) reads and writes the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings {

class CfgFile {
 public:
  explicit CfgFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // The printer and where it prints ([dayinji]). Offsets are millimetres
  // as typed, "" when never set; an empty printer is the system's default.
  std::string printer() const;
  bool set_printer(std::string_view name) const;
  std::string left_offset() const;
  std::string top_offset() const;
  bool set_left_offset(std::string_view millimetres) const;
  bool set_top_offset(std::string_view millimetres) const;
  // How many days back a parcel printed before is asked about ("3" unset).
  std::string repeat_days() const;

  // The sender ([ji]); the address keeps its line breaks, escaped.
  std::string sender_name() const;
  std::string sender_fixed_phone() const;
  std::string sender_mobile() const;
  std::string sender_address() const;
  bool set_sender_name(std::string_view text) const;
  bool set_sender_fixed_phone(std::string_view text) const;
  bool set_sender_mobile(std::string_view text) const;
  bool set_sender_address(std::string_view text) const;

  // A listing title's item code, by the title's key ([baobeibiaotidaihao]).
  std::string item_code(std::string_view title_key) const;
  bool set_item_code(std::string_view title_key, std::string_view code) const;

  // The number of the next form of a template's stack, by the template's
  // identity ([yundanhao]); "" when the seller has given none.
  std::string next_waybill_number(std::string_view template_identity) const;
  bool set_next_waybill_number(std::string_view template_identity, std::string_view number) const;

  // A template's form picture, by the template's name ([ditu]).
  std::string form_picture(std::string_view template_name) const;
  bool set_form_picture(std::string_view template_name, std::string_view path) const;

  // The courier templates: the server's (or built-in) rows and the
  // default in [dayin], the seller's own rows in [wodemoban]. Lines as the
  // file has them ("key=value").
  std::vector<std::string> server_template_lines() const;
  bool set_server_template_lines(const std::vector<std::string>& lines) const;
  std::vector<std::string> own_template_lines() const;
  bool set_own_template_row(int number, std::string_view row) const;
  // Whether the server's first row is there (the built-in ones are seeded
  // while it is not), and a server row by its key ("1", "2", ...).
  bool has_server_templates() const;
  std::string server_template_row(std::string_view number) const;
  // The default template: its list position (what older versions read)
  // and its identity, both kept in [dayin].
  static constexpr std::string_view kDefaultPositionKey = "wz";
  static constexpr std::string_view kDefaultIdentityKey = "moren";
  bool set_default_template(std::string_view position, std::string_view identity) const;
  // The section names a template identity starts with.
  static constexpr std::string_view kServerTemplates = "dayin";
  static constexpr std::string_view kOwnTemplates = "wodemoban";

 private:
  std::string read(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
  bool write(std::string_view section, std::string_view key, std::string_view value) const;

  std::string path_;
};

}  // namespace settings
