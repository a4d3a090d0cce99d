// The calibration sheet: crosshairs every 20 mm across the form, each
// labelled with its position, printed at the current offsets. Laid on a
// form (or measured), its centre cross shows how far the printer puts
// things from where they belong; that distance corrects the offsets.
#pragma once

#include <string>

#include "print/print_surface.h"

namespace print {

inline constexpr int kCrossStep = 200;                // 20 mm
inline constexpr int kCentreX = 1100, kCentreY = 600;  // the centre cross, 110,60 mm

// Draws the sheet with the offsets (tenths of a millimetre) applied.
void draw_calibration_sheet(PrintSurface& surface, int left, int top);

struct Offsets {
  double left = 0, top = 0;  // millimetres
};

// The offsets that move the centre cross onto its place, when the printed
// cross landed `right` mm right of it and `down` mm below it (negative:
// left, above).
Offsets corrected_offsets(Offsets current, double right, double down);

// Millimetres as the offset fields show them: "5", "-2.5", "0.3".
std::string millimetres_text(double mm);

}  // namespace print
