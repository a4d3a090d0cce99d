// The calibration dialogue: after the calibration sheet, the seller says
// where its centre cross landed and the offsets are corrected.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "view/asker.h"
#include "view/main_view.h"

namespace print {

// The largest offset a printer can need, either way.
inline constexpr double kMaxOffsetMillimetres = 50;

// Millimetres typed by the seller: the whole text a signed decimal number
// ("-1.5", "2", "＋0.5"; full-width digits count, blanks around it do not),
// at most `largest` either way; none for anything else.
std::optional<double> typed_millimetres(std::string_view typed,
                                        double largest = kMaxOffsetMillimetres);

// A distance the seller measured from the paper's edge to the centre
// cross, which belongs `belongs` mm from that edge: the millimetres typed,
// when no offset could have put the cross there ("125" for 110 is; "1.5",
// a deviation rather than a distance, is not), none otherwise.
std::optional<double> measured_distance(std::string_view typed, double belongs);

// Asks where the centre cross landed (its distances from the paper's left
// and top edges, as measured), corrects the offsets by how far that is
// from its place, shows them in the window and saves them in the
// settings; false when the seller cancelled. `asker` asks the questions.
bool correct_offsets(view::MainView& view, const std::string& settings_path, view::Asker& asker);

}  // namespace print
