// Choosing the driver's paper for a requested page size. Drivers list their
// papers in their own orientation; a form that lies across a listed paper
// is printed on it in landscape.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace ui {

struct Paper {
  int id = 0;                 // the driver's paper number (DMPAPER_*)
  int width = 0, length = 0;  // tenths of a millimetre, as the driver lists it
  std::string name;
};

struct PaperChoice {
  int id = 0;
  bool landscape = false;
};

// Whether a page of width x length is the wanted one, within 1 mm each way.
bool same_page(int width, int length, int wanted_width, int wanted_length);

// The paper that is the wanted page as listed, else the first one that is
// it turned; none when the driver has no such paper.
std::optional<PaperChoice> choose_paper(std::span<const Paper> papers, int wanted_width,
                                        int wanted_length);

}  // namespace ui
