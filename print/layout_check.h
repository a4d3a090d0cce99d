// What would not come out whole on the form: checked on the printer's own
// fonts before anything is printed, so a pre-printed waybill is not wasted.
#pragma once

#include <string>
#include <vector>

#include "print/print_surface.h"
#include "print/waybill_layout.h"

namespace print {

inline constexpr int kFormWidth = 2200;  // 220 mm

struct LayoutProblem {
  size_t item = 0;   // index into the items
  std::string text;  // a sentence naming the item
};

// The problems of the items on the surface (its mapping set): an empty
// recipient or sender name or address, a sender without either number; a box text with a line wider than the box or
// more lines than it holds (the rest is cut); a one-line text running past
// the form's right edge.
std::vector<LayoutProblem> layout_problems(PrintSurface& surface,
                                           const std::vector<PrintItem>& items);

// The question that lists them.
std::string layout_question(const std::vector<LayoutProblem>& problems);

}  // namespace print
