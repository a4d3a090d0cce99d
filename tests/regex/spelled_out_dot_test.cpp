// "." spelled out as a class for the system's service: only the dots that
// stand for any character change, and the meaning stays the same.
#include "regex/spelled_out_dot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/regex_object.h"

namespace {

TEST(SpelledOutDot, ReplacesOnlyTheDotsThatMatchAnyCharacter) {
  const std::vector<std::pair<std::string, std::string>> table = {
      {".", "[^\\n]"},       {"a.{1,63}\\n", "a[^\\n]{1,63}\\n"},
      {"\\.", "\\."},        {"\\\\.", "\\\\[^\\n]"},
      {"[.]", "[.]"},        {"[a\\].].", "[a\\].][^\\n]"},
      {"[].", "[][^\\n]"},  // "]" right after "[" ends the class
      {"[^].", "[^][^\\n]"}, {"", ""},
      {"abc", "abc"},        {"\\", "\\"},
      {"[.", "[."},
  };
  for (const auto& [pattern, expected] : table)
    EXPECT_EQ(rx::spelled_out_dot(pattern), expected) << pattern;
}

TEST(SpelledOutDot, GbkTrailBytesAreNeverPatternSyntax) {
  // Trail bytes 0x5C "\", 0x5B "[" and 0x5D "]".
  EXPECT_EQ(rx::spelled_out_dot("\x81\x5C."), "\x81\x5C[^\\n]");
  EXPECT_EQ(rx::spelled_out_dot("\x81\x5B."), "\x81\x5B[^\\n]");
  EXPECT_EQ(rx::spelled_out_dot("[\x81\x5D.]."), "[\x81\x5D.][^\\n]");
  EXPECT_EQ(rx::spelled_out_dot("\\\x81\x5C."), "\\\x81\x5C[^\\n]");
  // A lead byte at the very end has no trail byte to take.
  EXPECT_EQ(rx::spelled_out_dot(".\x81"), "[^\\n]\x81");
}

std::vector<std::string> matches(const std::string& pattern, const std::string& text) {
  rx::RegexObject regex;
  regex.create(pattern);
  std::vector<std::string> found;
  int n = regex.execute(text);
  for (int i = 1; i <= n; ++i) found.push_back(regex.match_text(i));
  return found;
}

TEST(SpelledOutDot, KeepsTheMeaningOfThePattern) {
  const std::string goods = "标题\r\n鞋码: 42\r\n颜色分类: 黑\r\n￥1 ×2件\r\n";
  const std::vector<std::pair<std::string, std::string>> table = {
      {".{1,63}\\n鞋码.{2,20}\\n颜色.{2,30}\\n(.{0,30}\\n)?.{1,10}×.{1,5}\\S{1,5}", goods},
      {"a.b", "a\rb a\nb a.b"},
      {".+", "ab\r\ncd"},
      {"[.]+\\.", "x...y"},
      {"中.", "中文中\r中\n"},
  };
  for (const auto& [pattern, text] : table) {
    std::vector<std::string> plain = matches(pattern, text);
    EXPECT_FALSE(plain.empty()) << pattern;
    EXPECT_EQ(matches(rx::spelled_out_dot(pattern), text), plain) << pattern;
  }
}

}  // namespace
