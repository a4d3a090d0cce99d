// The calibration dialogue: after the calibration sheet, the seller says
// where its centre cross landed and the offsets are corrected.
#pragma once

#include <cstdint>
#include <string>

#include "view/main_view.h"

namespace print {

// Asks how far the centre cross landed right of and below its place,
// corrects the offsets, shows them in the window and saves them in the
// settings; false when the seller cancelled. `owner` owns the questions.
bool correct_offsets(view::MainView& view, const std::string& settings_path, uintptr_t owner);

}  // namespace print
