// The program's texts drawn and measured with the wide text calls, in the
// device context's font, and for the characters that font has not (the
// rare characters of names and places) in the first fall-back font that
// has them, at the same height. A text the font has whole is drawn with
// one wide call, exactly as the font alone would draw it.
#pragma once

#include <windows.h>

#include <string_view>

namespace ui {

bool draw_text_at(HDC dc, int x, int y, std::string_view text);

// The size of one line of the text as draw_text_at draws it.
SIZE text_extent(HDC dc, std::string_view text);

// Writes into the rectangle as DrawText does; with a fall-back font needed,
// only the formats the print job uses (left aligned, a line per line
// break, a line's height apart, cut at the rectangle). The height of the
// text drawn.
int draw_text_in_rect(HDC dc, std::string_view text, RECT& rect, UINT format);

}  // namespace ui
