#include "print/template_store.h"

#include <algorithm>
#include <map>

#include "print/template_row.h"
#include "runtime/convert.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"

namespace print {

namespace {

// The default is kept as its list position (what older versions read) and
// its identity: "<server section>,圆通" for a server template,
// "<own section>#3" for the seller's own row 3 (older versions wrote
// "<own section>,name", still read).
constexpr char kOwnNumberMark[] = "#";
using settings::CfgFile;

std::string key_of(int n) { return std::to_string(n); }

// A line's key as the settings engine compares it: ASCII letters in
// either case are the same.
std::string key_of_line(std::string_view line) {
  std::string key(rt::trim(line.substr(0, line.find('='))).view());
  std::transform(key.begin(), key.end(), key.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
  return key;
}

std::map<std::string, std::string> section_values(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> values;
  for (const std::string& line : lines) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    values.emplace(key_of_line(line), std::string(rt::trim(line.substr(equals + 1)).view()));
  }
  return values;
}

// Rows 1, 2, ... of a section's values, up to the first missing one.
std::vector<std::string> listed_rows(const std::map<std::string, std::string>& values) {
  std::vector<std::string> rows;
  for (int n = 1;; ++n) {
    auto row = values.find(key_of(n));
    if (row == values.end() || row->second.empty()) return rows;
    rows.push_back(row->second);
  }
}

}  // namespace

std::string StoredTemplate::name() const { return TemplateRow::read(row).name; }

std::string StoredTemplate::identity() const {
  return own ? std::string(CfgFile::kOwnTemplates) + kOwnNumberMark + key_of(number)
             : std::string(CfgFile::kServerTemplates) + "," + name();
}

TemplateStore::TemplateStore(std::string settings_path) : settings_path_(std::move(settings_path)) {
  read();
}

void TemplateStore::read() {
  CfgFile cfg(settings_path_);
  std::map<std::string, std::string> server = section_values(cfg.server_template_lines());
  templates_.clear();
  int number = 0;
  for (std::string& row : listed_rows(server))
    templates_.push_back({false, ++number, std::move(row)});
  server_count_ = templates_.size();
  number = 0;
  for (std::string& row : listed_rows(section_values(cfg.own_template_lines())))
    templates_.push_back({true, ++number, std::move(row)});
  default_position_ = -1;
  auto named = server.find(std::string(CfgFile::kDefaultIdentityKey));
  if (named != server.end() && !named->second.empty()) {
    const std::string& identity = named->second;
    std::string older_own = std::string(CfgFile::kOwnTemplates) + ",";
    for (size_t i = 0; i < templates_.size() && default_position_ < 0; ++i) {
      const StoredTemplate& t = templates_[i];
      bool older =
          t.own && identity.starts_with(older_own) && identity.substr(older_own.size()) == t.name();
      if (identity == t.identity() || older) default_position_ = int(i);
    }
    if (default_position_ >= 0) return;
  }
  auto position = server.find(std::string(CfgFile::kDefaultPositionKey));
  int64_t n = position == server.end() ? 0 : rt::leading_integer(position->second);
  if (n >= 1 && n <= int64_t(templates_.size())) default_position_ = int(n - 1);
}

const StoredTemplate* TemplateStore::at(int position) const {
  return position >= 0 && size_t(position) < templates_.size() ? &templates_[size_t(position)]
                                                               : nullptr;
}

bool TemplateStore::is_own(int position) const {
  const StoredTemplate* t = at(position);
  return t && t->own;
}

bool TemplateStore::set_default(int position) {
  const StoredTemplate* t = at(position);
  if (!CfgFile(settings_path_).set_default_template(key_of(position + 1),
                                                    t ? t->identity() : std::string()))
    return false;
  default_position_ = t ? position : -1;
  return true;
}

int TemplateStore::save_own(int position, const std::string& row) {
  int own_count = int(templates_.size() - server_count_);
  int number = is_own(position) ? at(position)->number : own_count + 1;
  if (!CfgFile(settings_path_).set_own_template_row(number, row)) return -1;
  read();
  return int(server_count_) + number - 1;
}

bool TemplateStore::write_server_rows(const std::string& settings_path,
                                      const std::vector<std::string>& rows) {
  CfgFile cfg(settings_path);
  std::vector<std::string> lines = cfg.server_template_lines();
  std::vector<std::string> updated = lines;
  std::map<std::string, size_t> line_of;
  for (size_t i = 0; i < updated.size(); ++i) line_of.emplace(key_of_line(updated[i]), i);
  for (size_t n = 1; n <= rows.size(); ++n) {
    std::string line = key_of(int(n)) + "=" + rows[n - 1];
    auto found = line_of.find(key_of(int(n)));
    if (found == line_of.end())
      updated.push_back(line);
    else
      updated[found->second] = line;
  }
  return updated == lines || cfg.set_server_template_lines(updated);
}

bool TemplateStore::own_name_taken(std::string_view name, int position) const {
  for (size_t i = server_count_; i < templates_.size(); ++i)
    if (int(i) != position && templates_[i].name() == name) return true;
  return false;
}

std::string TemplateStore::free_own_name(const std::string& wanted) const {
  if (!own_name_taken(wanted, -1)) return wanted;
  for (int n = 2;; ++n)
    if (!own_name_taken(wanted + key_of(n), -1)) return wanted + key_of(n);
}

}  // namespace print
