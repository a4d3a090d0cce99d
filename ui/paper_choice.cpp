#include "ui/paper_choice.h"

#include <cstdlib>

namespace ui {

namespace {
constexpr int kTolerance = 10;  // 1 mm
}

bool same_page(int width, int length, int wanted_width, int wanted_length) {
  return std::abs(width - wanted_width) <= kTolerance &&
         std::abs(length - wanted_length) <= kTolerance;
}

std::optional<PaperChoice> choose_paper(std::span<const Paper> papers, int wanted_width,
                                        int wanted_length) {
  for (const Paper& p : papers)
    if (same_page(p.width, p.length, wanted_width, wanted_length)) return PaperChoice{p.id, false};
  for (const Paper& p : papers)
    if (same_page(p.length, p.width, wanted_width, wanted_length)) return PaperChoice{p.id, true};
  return std::nullopt;
}

}  // namespace ui
