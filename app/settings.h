// The settings file cfg.ini in the working directory: where it is, the
// sender details, print offsets and printer, and the settings button.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "view/asker.h"
#include "view/main_view.h"

namespace app {

// The path of cfg.ini in `directory` (blanks around it removed).
std::string settings_path_in(std::string_view directory);
// The path of cfg.ini in the working directory; a directory that does not
// fit the 255-byte buffer gives the relative path ".\cfg.ini" (or "./cfg.ini"),
// which still names the file in the working directory.
std::string working_settings_path();

// Marks the file hidden (replacing its other attributes). A first start has
// no file yet: it is created by the first write and hidden at the next start.
bool hide_settings_file(const std::string& path);

class Settings {
 public:
  explicit Settings(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  // The printer the print job uses: loaded at start, replaced at each save.
  const std::string& current_printer() const { return current_printer_; }

  // Fills the fields and the printer list and sets the current printer.
  // With none saved, the list shows the system's default printer, which
  // prints; saved unchanged, it stays "the default", whichever that is then.
  void load_settings(view::MainView& view, std::span<const std::string> installed_printers,
                     const std::string& system_default = {});
  // What a save asks first, on the printer chosen: false keeps the pane
  // open with the edits, unsaved.
  using SaveCheck = std::function<bool(const std::string& printer, bool printer_changed)>;
  // The settings button: opens the settings pane, or saves and closes it.
  // A save that cannot be written says so (through `asker`, and in the
  // status line) and leaves the pane open.
  void toggle_settings(view::MainView& view, view::Asker& asker, const SaveCheck& check = {});
  bool pane_open() const { return pane_open_; }

 private:
  std::string path_;
  std::string current_printer_;
  bool printer_missing_ = false;  // the saved printer is not on this computer
  bool pane_open_ = false;  // the program's own record, never read back from the window
  // The list position of the system's default printer shown for a saved
  // "default" (-1: none shown).
  int shown_default_ = -1;
};

}  // namespace app
