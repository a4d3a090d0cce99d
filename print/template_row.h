// A courier template as cfg.ini keeps it, "name,f1,…,f20," (the seller's,
// the server's and the built-in ones alike): the one place its format is
// read, checked and written.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace print {

inline constexpr int kLayoutValues = 20;

struct TemplateRow {
  std::string name;  // before the first ","; "" when there is none
  // f1..f20: each value's leading integer (full-width digits and blanks
  // count, as in every number the program reads); values the row does not
  // have are 0.
  std::array<int, kLayoutValues> values{};
  // How many of f1..f20 the row holds, up to the first value that is
  // missing or holds no number: a row prints only when all 20 are there.
  int complete = 0;

  static TemplateRow read(std::string_view row);
  // "name,f1,…,f20,"
  std::string text() const;
};

// Whether a row from the update server's page is one the settings may
// take: no control byte, at most `max_bytes`, a name before the first ","
// and values that are empty or plain integers, at least one of them. This
// is stricter than read(): the page comes over plain HTTP and may write
// only rows, while read() takes what a seller may have typed.
bool is_sound_template_row(std::string_view row, size_t max_bytes);

}  // namespace print
