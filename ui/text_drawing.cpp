#include "ui/text_drawing.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/text_encoding.h"
#include "ui/gdi_guards.h"

namespace ui {

namespace {

// Faces with the characters a Chinese system font lacks, in the order
// tried: Windows' own for the CJK extensions, then the free ones a Linux
// machine that runs the program under Wine may have installed (BabelStone
// Han first: its glyphs carry their characters' names, so a PDF printed
// from it keeps the text).
constexpr const wchar_t* kFallbackFaces[] = {L"SimSun",         L"SimSun-ExtB", L"SimSun-ExtG",
                                             L"BabelStone Han", L"HanaMinA",    L"HanaMinB"};

// A stretch of the text in one font: 0 is the device context's own, k the
// k-th fall-back face.
struct Run {
  size_t begin, end;
  size_t font;
};

size_t units_at(const std::wstring& text, size_t at) {
  bool pair = text[at] >= 0xD800 && text[at] < 0xDC00 && at + 1 < text.size();
  return pair ? 2 : 1;
}

// Whether the font selected into `dc` has the character. The glyph-index
// call knows no surrogate pairs; a character beyond the 16-bit range is
// looked up in the font's own character map.
bool has_character(HDC dc, const wchar_t* c, size_t units);

class Fonts {
 public:
  explicit Fonts(HDC dc) : dc_(dc) {
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof base_, &base_);
  }
  ~Fonts() {
    for (HFONT font : made_)
      if (font) DeleteObject(font);
  }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  // The font for the character: the device context's when it has it, else
  // the first fall-back face that has it, else the device context's (which
  // draws its mark for a missing character, as it always did).
  size_t font_for(const wchar_t* c, size_t units) {
    if (has_character(dc_, c, units)) return 0;
    for (size_t k = 1; k <= std::size(kFallbackFaces); ++k) {
      HFONT font = fallback(k);
      if (!font) continue;
      ScopedSelect selected(dc_, font);
      if (has_character(dc_, c, units)) return k;
    }
    return 0;
  }

  HFONT font(size_t k) { return k == 0 ? nullptr : fallback(k); }

 private:
  HFONT fallback(size_t k) {
    if (made_.size() < k) made_.resize(k, nullptr);
    if (!made_[k - 1]) {
      LOGFONTW face = base_;
      lstrcpynW(face.lfFaceName, kFallbackFaces[k - 1], LF_FACESIZE);
      made_[k - 1] = CreateFontIndirectW(&face);
    }
    return made_[k - 1];
  }

  HDC dc_;
  LOGFONTW base_{};
  std::vector<HFONT> made_;
};

std::vector<Run> runs_of(const std::wstring& text, Fonts& fonts) {
  std::vector<Run> runs;
  for (size_t at = 0; at < text.size();) {
    size_t units = units_at(text, at);
    size_t font = fonts.font_for(text.data() + at, units);
    if (runs.empty() || runs.back().font != font) runs.push_back({at, at, font});
    at += units;
    runs.back().end = at;
  }
  return runs;
}

SIZE run_extent(HDC dc, const std::wstring& text, const Run& run, Fonts& fonts) {
  ScopedSelect selected(dc, fonts.font(run.font));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data() + run.begin, int(run.end - run.begin), &size);
  return size;
}

bool is_whole_in_own_font(const std::vector<Run>& runs) {
  return runs.size() <= 1 && (runs.empty() || runs[0].font == 0);
}

// Big-endian numbers in a font table.
uint32_t be16(const std::vector<unsigned char>& t, size_t at) {
  return at + 2 <= t.size() ? uint32_t(t[at] << 8 | t[at + 1]) : 0;
}
uint32_t be32(const std::vector<unsigned char>& t, size_t at) {
  return at + 4 <= t.size() ? be16(t, at) << 16 | be16(t, at + 2) : 0;
}

// Looks the code point up in the font's format-12 character map (the one
// that maps the supplementary planes).
bool cmap_has(HDC dc, uint32_t code_point) {
  constexpr DWORD kCmap = 0x70616D63;  // "cmap", as the call wants the tag
  DWORD size = GetFontData(dc, kCmap, 0, nullptr, 0);
  if (size == GDI_ERROR || size == 0) return false;
  std::vector<unsigned char> t(size);
  if (GetFontData(dc, kCmap, 0, t.data(), size) != size) return false;
  for (uint32_t k = 0, tables = be16(t, 2); k < tables; ++k) {
    uint32_t offset = be32(t, 4 + k * 8 + 4);
    if (be16(t, offset) != 12) continue;
    for (uint32_t g = 0, groups = be32(t, offset + 12); g < groups; ++g) {
      size_t at = offset + 16 + size_t(g) * 12;
      if (at + 12 > t.size()) break;
      if (code_point >= be32(t, at) && code_point <= be32(t, at + 4)) return be32(t, at + 8) != 0;
    }
  }
  return false;
}

bool has_character(HDC dc, const wchar_t* c, size_t units) {
  if (units == 2) return cmap_has(dc, 0x10000 + ((uint32_t(c[0]) - 0xD800) << 10) + (uint32_t(c[1]) - 0xDC00));
  WORD glyph = 0xFFFF;
  return GetGlyphIndicesW(dc, c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 && glyph != 0xFFFF;
}

// +1 where y grows downwards on the device, -1 where it grows upwards (the
// print job's tenths of a millimetre).
int downwards(HDC dc) {
  POINT p[2] = {{0, 0}, {0, 1000}};
  LPtoDP(dc, p, 2);
  return p[1].y >= p[0].y ? 1 : -1;
}

// Each run on the line's baseline, which the device context's own font
// sets: a fall-back font's characters stand on the same line, however
// tall its cells.
bool draw_runs(HDC dc, int x, int y, const std::wstring& text, const std::vector<Run>& runs,
               Fonts& fonts) {
  TEXTMETRICW own{};
  GetTextMetricsW(dc, &own);
  UINT alignment = GetTextAlign(dc);
  SetTextAlign(dc, (alignment & ~UINT(TA_TOP | TA_BOTTOM | TA_BASELINE)) | TA_BASELINE);
  int baseline = y + downwards(dc) * int(own.tmAscent);
  bool drawn = true;
  for (const Run& run : runs) {
    ScopedSelect selected(dc, fonts.font(run.font));
    drawn = TextOutW(dc, x, baseline, text.data() + run.begin, int(run.end - run.begin)) && drawn;
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data() + run.begin, int(run.end - run.begin), &size);
    x += size.cx;
  }
  SetTextAlign(dc, alignment);
  return drawn;
}

}  // namespace

bool draw_text_at(HDC dc, int x, int y, std::string_view text) {
  std::wstring wide = rt::widen(text);
  Fonts fonts(dc);
  std::vector<Run> runs = runs_of(wide, fonts);
  if (is_whole_in_own_font(runs)) return TextOutW(dc, x, y, wide.data(), int(wide.size())) != FALSE;
  return draw_runs(dc, x, y, wide, runs, fonts);
}

SIZE text_extent(HDC dc, std::string_view text) {
  std::wstring wide = rt::widen(text);
  Fonts fonts(dc);
  SIZE total{};
  for (const Run& run : runs_of(wide, fonts)) {
    SIZE size = run_extent(dc, wide, run, fonts);
    total.cx += size.cx;
    total.cy = std::max(total.cy, size.cy);
  }
  if (wide.empty()) GetTextExtentPoint32W(dc, L"", 0, &total);
  return total;
}

int draw_text_in_rect(HDC dc, std::string_view text, RECT& rect, UINT format) {
  std::wstring wide = rt::widen(text);
  Fonts fonts(dc);
  if (is_whole_in_own_font(runs_of(wide, fonts)))
    return DrawTextW(dc, wide.data(), int(wide.size()), &rect, format);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // In a mapping with y growing upwards the rectangle's bottom is below its
  // top in numbers too: lines go the same way.
  int step = rect.bottom >= rect.top ? int(metrics.tmHeight) : -int(metrics.tmHeight);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, std::min(rect.top, rect.bottom), rect.right,
                    std::max(rect.top, rect.bottom));
  int y = rect.top, lines = 0;
  for (size_t start = 0; start <= wide.size(); y += step) {
    if (step > 0 ? y >= rect.bottom : y <= rect.bottom) break;
    size_t end = wide.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = wide.size();
    std::wstring line = wide.substr(start, end - start);
    draw_runs(dc, rect.left, y, line, runs_of(line, fonts), fonts);
    ++lines;
    if (end == wide.size()) break;
    start = end + (wide.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
  }
  RestoreDC(dc, saved);
  return lines * int(metrics.tmHeight);
}

}  // namespace ui
