// The width table, the same in both builds, must give what Windows' own
// mapping (LCMapStringA, locale 2052) gives for GBK texts.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>

#include <string>

#include "runtime/platform.h"
#include "runtime/width.h"

namespace {

std::string hex_of(const std::string& s) {
  std::string out;
  char digits[4];
  for (unsigned char c : s) {
    std::snprintf(digits, sizeof digits, "%02X", c);
    out += digits;
  }
  return out;
}

std::string windows_map_width(const std::string& gbk, bool full) {
  if (gbk.empty()) return {};
  std::string out(gbk.size() * 2 + 2, '\0');
  const LCID chinese_prc = 2052;
  int n = LCMapStringA(chinese_prc, full ? LCMAP_FULLWIDTH : LCMAP_HALFWIDTH, gbk.data(),
                       int(gbk.size()), out.data(), int(out.size()));
  out.resize(n > 0 ? size_t(n) : 0);
  return out;
}

void expect_same_mapping(const std::string& text) {
  for (bool full : {true, false})
    EXPECT_EQ(hex_of(gbk_map_width(text, full)), hex_of(windows_map_width(text, full)))
        << (full ? "full" : "half") << " width of " << hex_of(text);
}

TEST(WidthWin32, EveryPrintableAsciiCharacter) {
  for (int c = 0x20; c < 0x7F; ++c) expect_same_mapping(std::string(1, char(c)));
  std::string all;
  for (int c = 0x20; c < 0x7F; ++c) all += char(c);
  expect_same_mapping(all);
}

TEST(WidthWin32, RowsOfSymbolsKanaAndFullWidthForms) {
  for (int lead : {0xA1, 0xA3, 0xA5, 0xA9}) {
    std::string row;
    for (int trail = 0xA1; trail <= 0xFE; ++trail) row += {char(lead), char(trail)};
    expect_same_mapping(row);
  }
}

TEST(WidthWin32, SampleTexts) {
  for (const char* sample :
       {"上海市浦东新区 张江路１２３号", "收货人：李四，电话 13800138000",
        "ｗｗｗ．ｅｘａｍｐｌｅ．ｃｏｍ／路径", "“引号”、句号。", "\x81\x30z", "ab\x81", "\x81\x7F",
        "\x81\xFF"
        "a",
        "\x80\xFF"})
    expect_same_mapping(sample);
}

}  // namespace
