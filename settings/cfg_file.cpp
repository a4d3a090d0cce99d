#include "settings/cfg_file.h"

#include "runtime/settings_file.h"

namespace settings {

namespace {

constexpr std::string_view kPrinterSection = "dayinji";
constexpr std::string_view kSenderSection = "ji";
constexpr std::string_view kItemCodeSection = "baobeibiaotidaihao";
constexpr std::string_view kPictureSection = "ditu";
constexpr std::string_view kFormNumberSection = "yundanhao";

}  // namespace

std::string CfgFile::read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
  return std::string(rt::ini_read(path_, section, key, fallback).view());
}

bool CfgFile::write(std::string_view section, std::string_view key, std::string_view value) const {
  return rt::ini_write(path_, section, key, value);
}

std::string CfgFile::next_waybill_number(std::string_view template_identity) const {
  return read(kFormNumberSection, template_identity);
}
bool CfgFile::set_next_waybill_number(std::string_view template_identity,
                                      std::string_view number) const {
  return write(kFormNumberSection, template_identity, number);
}

std::string CfgFile::printer() const { return read(kPrinterSection, "moren"); }
bool CfgFile::set_printer(std::string_view name) const { return write(kPrinterSection, "moren", name); }
std::string CfgFile::left_offset() const { return read(kPrinterSection, "left"); }
std::string CfgFile::top_offset() const { return read(kPrinterSection, "top"); }
bool CfgFile::set_left_offset(std::string_view mm) const { return write(kPrinterSection, "left", mm); }
bool CfgFile::set_top_offset(std::string_view mm) const { return write(kPrinterSection, "top", mm); }
std::string CfgFile::repeat_days() const { return read(kPrinterSection, "chongfutianshu", "3"); }

std::string CfgFile::sender_name() const { return read(kSenderSection, "jiname"); }
std::string CfgFile::sender_fixed_phone() const { return read(kSenderSection, "jitel"); }
std::string CfgFile::sender_mobile() const { return read(kSenderSection, "jiphone"); }
std::string CfgFile::sender_address() const {
  return rt::decode_setting_text(read(kSenderSection, "jiqita"));
}
bool CfgFile::set_sender_name(std::string_view text) const { return write(kSenderSection, "jiname", text); }
bool CfgFile::set_sender_fixed_phone(std::string_view text) const {
  return write(kSenderSection, "jitel", text);
}
bool CfgFile::set_sender_mobile(std::string_view text) const {
  return write(kSenderSection, "jiphone", text);
}
bool CfgFile::set_sender_address(std::string_view text) const {
  return write(kSenderSection, "jiqita", rt::encode_setting_text(text));
}

std::string CfgFile::item_code(std::string_view title_key) const {
  return read(kItemCodeSection, title_key);
}
bool CfgFile::set_item_code(std::string_view title_key, std::string_view code) const {
  return write(kItemCodeSection, title_key, code);
}

std::string CfgFile::form_picture(std::string_view template_name) const {
  return read(kPictureSection, template_name);
}
bool CfgFile::set_form_picture(std::string_view template_name, std::string_view path) const {
  return write(kPictureSection, template_name, path);
}

std::vector<std::string> CfgFile::server_template_lines() const {
  return rt::ini_read_section(path_, kServerTemplates);
}
bool CfgFile::set_server_template_lines(const std::vector<std::string>& lines) const {
  return rt::ini_write_section(path_, kServerTemplates, lines);
}
std::vector<std::string> CfgFile::own_template_lines() const {
  return rt::ini_read_section(path_, kOwnTemplates);
}
bool CfgFile::set_own_template_row(int number, std::string_view row) const {
  return write(kOwnTemplates, std::to_string(number), row);
}
bool CfgFile::has_server_templates() const { return !server_template_row("1").empty(); }
std::string CfgFile::server_template_row(std::string_view number) const {
  return read(kServerTemplates, number);
}
bool CfgFile::set_default_template(std::string_view position, std::string_view identity) const {
  return write(kServerTemplates, kDefaultPositionKey, position) &&
         write(kServerTemplates, kDefaultIdentityKey, identity);
}

}  // namespace settings
