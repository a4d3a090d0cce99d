// A main window held in memory: the command-line tool's window, and the
// window of the tests.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "view/main_view.h"

namespace view {

class MemoryView : public MainView {
 public:
  std::string text(int id) const override {
    auto found = texts.find(id);
    return found == texts.end() ? "" : found->second;
  }
  void set_text(int id, std::string_view gbk) override { texts[id] = gbk; }
  // As the real combo box does, clearing the list empties its edit text.
  void list_clear(int id) override {
    lists[id].clear();
    selections[id] = -1;
    texts.erase(id);
  }
  void list_add(int id, std::string_view gbk) override { lists[id].emplace_back(gbk); }
  int list_selection(int id) const override {
    auto found = selections.find(id);
    return found == selections.end() ? -1 : found->second;
  }
  void list_select(int id, int position) override {
    selections[id] = position < int(lists[id].size()) ? position : -1;
  }
  std::string list_item(int id, int position) const override {
    auto found = lists.find(id);
    if (found == lists.end() || position < 0 || position >= int(found->second.size())) return "";
    return found->second[size_t(position)];
  }
  int list_count(int id) const override {
    auto found = lists.find(id);
    return found == lists.end() ? 0 : int(found->second.size());
  }
  int width() const override { return window_width; }
  void set_width(int pixels) override { window_width = pixels; }
  void set_status(std::string_view gbk) override { status = gbk; }
  bool enabled(int id) const override { return !disabled.contains(id); }
  void set_enabled(int id, bool on) override {
    if (on)
      disabled.erase(id);
    else
      disabled.insert(id);
  }

  std::map<int, std::string> texts;
  std::map<int, std::vector<std::string>> lists;
  std::map<int, int> selections;
  int window_width = 300;
  std::string status;
  std::set<int> disabled;
};

}  // namespace view
