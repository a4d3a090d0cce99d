// Courier templates: rows in section "dayin" of cfg.ini, seeded from the
// banner page or the built-in table, shown in the template list.
#pragma once

#include <string>
#include <string_view>

#include "view/main_view.h"

namespace app {

// The nine built-in couriers: "N=" + row + "\r\n" for N = 1 to 9.
extern const std::string_view builtin_templates;

// Writes template rows from the banner page's template block or, while key
// "1" is empty, from the built-in table.
void seed_templates(const std::string& settings_path, std::string_view banner_page);
// Rebuilds the template list, marking and selecting the default template.
void fill_template_list(view::MainView& view, const std::string& settings_path);
// The "默认" link: makes the selected template the default.
void set_default_template(view::MainView& view, const std::string& settings_path);

}  // namespace app
