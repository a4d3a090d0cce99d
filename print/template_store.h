// The courier templates cfg.ini keeps: the server's (or built-in) rows,
// then the seller's own, in list order, and which one is the default. Each has an identity that outlives
// a rename and a server block of another size: a server template its
// name, an own template its row number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace print {

struct StoredTemplate {
  bool own = false;  // the seller's own, never touched by an update
  int number = 0;    // its row's key in its section, from 1
  std::string row;   // "name,f1,…,f20,"
  std::string name() const;
  // What the settings know it by: its name for a server's, its row for an
  // own one (which the seller may rename).
  std::string identity() const;
};

class TemplateStore {
 public:
  // Reads both sections once.
  explicit TemplateStore(std::string settings_path);

  const std::vector<StoredTemplate>& templates() const { return templates_; }
  // The template at a list position (0-based); null when there is none.
  const StoredTemplate* at(int position) const;
  bool is_own(int position) const;
  // The default's list position, -1 for none.
  int default_position() const { return default_position_; }

  // Makes the template at `position` the default (-1: none); false when
  // cfg.ini could not be written.
  bool set_default(int position);
  // Stores `row` as a template of the seller's own: in place of the own
  // template at `position`, or as a new one after the others. Its list
  // position, or -1 when it could not be written.
  int save_own(int position, const std::string& row);
  // Whether an own template other than the one at `position` has `name`:
  // two of one name could not be told apart in the list.
  bool own_name_taken(std::string_view name, int position) const;
  // `wanted`, or with the first free number after it ("我的圆通2").
  std::string free_own_name(const std::string& wanted) const;

  // Server rows 1, 2, ... set to `rows`, the section's other lines kept:
  // one read and at most one write of the settings file.
  static bool write_server_rows(const std::string& settings_path,
                                const std::vector<std::string>& rows);

 private:
  void read();

  std::string settings_path_;
  std::vector<StoredTemplate> templates_;
  size_t server_count_ = 0;
  int default_position_ = -1;
};

}  // namespace print
