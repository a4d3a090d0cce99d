// Courier templates as the window shows them: seeded from the banner page
// or the built-in table, listed with the default marked. What cfg.ini
// keeps of them, and which one is the default, is print::TemplateStore's.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view/main_view.h"

namespace app {

// The nine built-in couriers: "N=" + row + "\r\n" for N = 1 to 9.
extern const std::string_view builtin_templates;

// What a banner page may put into the settings: at most this many rows of
// at most this many bytes each.
inline constexpr size_t kMaxPageRows = 64;
inline constexpr size_t kMaxRowBytes = 512;

// The rows ("name,numbers...") of the page's template block ("位置1=row\r\n
// 2=row\r\n...|"), or none when there is no block or anything in it is
// not a sound row: a control byte (CR, LF, ...), more than 512 bytes, no
// name before the first ",", a value that is not a number, more than 64
// rows. The update server is reached over plain HTTP: the page must not be
// able to write anything else into the settings.
std::optional<std::vector<std::string>> page_template_rows(std::string_view banner_page);

// Writes template rows from the banner page's template block or, while key
// "1" is empty, from the built-in table; false when they could not be
// written.
bool seed_templates(const std::string& settings_path, std::string_view banner_page);
// Rows 1, 2, ... set to `rows`, the section's other lines kept: one read
// and at most one write of the settings file.
bool write_template_rows(const std::string& settings_path, const std::vector<std::string>& rows);
// Rebuilds the template list, marking and selecting the default template:
// the server's rows, then the seller's own (which no update touches).
void fill_template_list(view::MainView& view, const std::string& settings_path);

// The row of the template at list position `position` (0-based); "" when
// there is none.
std::string template_row(const std::string& settings_path, int position);
// Whether the template at that position is one of the seller's own.
bool is_own_template(const std::string& settings_path, int position);

// A name the seller may give a template: not empty, at most 32 bytes, no
// comma (the row's separator), no "=", "[", "]", ";" or control byte.
bool is_template_name(std::string_view name);
// Why the seller cannot save a template under `name`, in the words a
// refusal gives; empty when it can. A character the settings file cannot
// keep is named with its code, since a rare one may show as a box.
std::string template_name_problem(std::string_view name);
// Stores `row` as a template of the seller's own: in place of the own
// template at `position`, or as a new one when `position` is a server's
// or built-in template (never changed in place). The list position it
// has now, or -1 when it could not be written.
int save_own_template(const std::string& settings_path, int position, const std::string& row);
// The "默认" link: makes the selected template the default (the status line
// says when it cannot be written).
void set_default_template(view::MainView& view, const std::string& settings_path);

}  // namespace app
