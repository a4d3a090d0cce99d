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
// recipient or sender name or address, a sender without either number, and
// every item's fit problems.
std::vector<LayoutProblem> layout_problems(PrintSurface& surface,
                                           const std::vector<PrintItem>& items);

// What of the item would not come out whole (nothing about its being
// empty): a box text's line wider than the box, or lines reaching below the
// box or onto another item printed inside it; a one-line text past the
// form's right edge.
std::vector<LayoutProblem> fit_problems(PrintSurface& surface, const std::vector<PrintItem>& items,
                                        size_t index);

// The question that lists them.
std::string layout_question(const std::vector<LayoutProblem>& problems);

}  // namespace print
