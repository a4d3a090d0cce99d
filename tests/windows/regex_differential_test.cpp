// The built-in engine and the system's service on the same patterns and
// texts must find the same matches. Where Wine's service cannot agree,
// the difference is written down and checked as it stands.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "regex/regex_object.h"
#include "regex/system_service.h"
#include "tests/recognize/pages.h"

namespace {

struct Case {
  std::string pattern;
  std::string text;
  bool ignore_case = true, multiline = true, global = true;
};

struct Found {
  std::vector<std::string> matches;
  std::vector<std::string> first_groups;
  std::string replaced;
  bool operator==(const Found&) const = default;
};

void PrintTo(const Found& f, std::ostream* os) {
  *os << "{matches:";
  for (const std::string& m : f.matches) *os << " [" << testing::PrintToString(m) << "]";
  *os << "; groups:";
  for (const std::string& g : f.first_groups) *os << " [" << testing::PrintToString(g) << "]";
  *os << "; replaced: " << testing::PrintToString(f.replaced) << "}";
}

Found run(const Case& c) {
  rx::RegexObject regex;
  regex.create(c.pattern, c.ignore_case, c.multiline, c.global);
  Found f;
  int n = regex.execute(c.text);
  for (int i = 1; i <= n; ++i) f.matches.push_back(regex.match_text(i));
  for (int j = 1; j <= regex.submatch_count(); ++j)
    f.first_groups.push_back(regex.submatch_text(1, j));
  f.replaced = regex.replace(c.text, "<$&|$1>");
  return f;
}

const std::string mobile = "1[3|4|5|8][0-9]\\d{6,8}";
const std::string fixed = "\\d{3,4}-\\d{7,8}(-\\d{1,4})?";
const std::string goods =
    ".{1,63}\\n鞋码.{2,20}\\n颜色.{2,30}\\n(.{0,30}\\n)?.{1,10}×.{1,5}\\S{1,5}";

std::vector<Case> program_patterns() {
  using namespace pages;
  Order a = numbered_order(1, goods_block("男鞋 休闲 透气") + goods_block("女鞋", "鞋码： 36"));
  Order b = numbered_order(
      2, goods_block("运动鞋", "鞋码: 42", "颜色分类: 白", "单价 ×1双", "￥199.00 优惠"));
  return {
      {mobile, "张三，13812345678，0571-88886666，浙江省"},
      {mobile, "订单号 15800001111222 电话 13900001111"},
      {mobile, "x1|123456789y 149123456 14912345"},
      {mobile, batch_page_of({a, b})},
      {fixed, "电话 0571-88886666-123 转 010-1234567"},
      {fixed, "０５７１－８８８８６６６６ 021-12345678"},
      {"[0-9]+", "2026年12月8日"},
      {goods, batch_page_of({a, b})},
      {goods, whole_ship_page(a.address_line, goods_block(std::string(70, 'x')))},
      {goods, "标题\n鞋码: 40\n颜色分类: 黑\n×2件\n"},
  };
}

std::vector<Case> edge_cases() {
  return {
      {"\\d+", "a1b22c333", true, true, false},
      {"abc", "xABCx abc", false},
      {"abc", "xABCx abc"},
      {"^\\w+$", "ab\r\ncd\nef"},
      {"^\\w+$", "ab\r\ncd\nef", true, false},
      {"a.b", "a\rb a\nb a.b"},
      {".+", "ab\r\ncd\r\n"},
      {"[.]\\.", "x.. ."},
      {".{2}", "中文ab　c"},
      {"^.{3}$", "鞋码4\r\n鞋码"},
      {"a{2,3}", "aaaaaaa"},
      {"a{2,}?", "aaaaa"},
      {"(\\w)\\1", "abccd"},
      {"[^a]+", "aa中文bb"},
      {"(a|ab)(c|bcd)", "abcd"},
      {"\\bcat\\b", "cat concat cat."},
      {"x(?=1)\\d", "x1 x2"},
      {"(\\d+)-(\\d+)", "10-20 30-40"},
      {"a*", "baaa", true, true, false},
      {"^", "a\r\nb", true, true, false},
  };
}

// Differences of Wine's service, with what it gives: it has no simple case
// folding beyond ASCII, and it counts the full-width space as a blank.
std::vector<std::pair<Case, Found>> wine_differences() {
  return {
      {{"ａｂ", "ＡＢ ａｂ"}, {{"ａｂ"}, {}, "ＡＢ <ａｂ|$1>"}},
      {{"\\s", "a　b"}, {{"　"}, {}, "a<　|$1>b"}},
  };
}

bool under_wine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

std::shared_ptr<rx::RegexService> builtin() { return rx::create_builtin_regex_service(); }
std::shared_ptr<rx::RegexService> system() { return rx::create_system_regex_service(); }

Found run_on(rx::RegexServiceFactory service, const Case& c) {
  rx::set_regex_service_factory(service);
  Found f = run(c);
  rx::set_regex_service_factory(nullptr);
  return f;
}

class RegexDifferential : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    if (!rx::create_system_regex_service()) GTEST_SKIP() << "no VBScript.RegExp";
  }
  void TearDown() override { CoUninitialize(); }

  static void expect_agreement(const std::vector<Case>& table) {
    for (const Case& c : table) {
      Found ours = run_on(builtin, c);
      EXPECT_FALSE(ours.matches.empty() && c.text.size() > 40) << c.pattern << " finds nothing";
      EXPECT_EQ(ours, run_on(system, c)) << c.pattern << " on " << c.text.substr(0, 60);
    }
  }
};

TEST_F(RegexDifferential, ProgramPatternsOnRealisticTexts) { expect_agreement(program_patterns()); }

TEST_F(RegexDifferential, EdgeCases) { expect_agreement(edge_cases()); }

TEST_F(RegexDifferential, WineDifferencesAreTheKnownOnes) {
  for (const auto& [c, wine] : wine_differences()) {
    Found theirs = run_on(system, c);
    if (!under_wine()) {
      EXPECT_EQ(run_on(builtin, c), theirs) << c.pattern;
      continue;
    }
    EXPECT_EQ(theirs, wine) << c.pattern;
    EXPECT_NE(run_on(builtin, c), wine) << c.pattern;
  }
}

// Wine's service never comes back from Execute or Replace when Global is on
// and the pattern matches the empty text (it runs out of memory). None of
// the program's patterns can match the empty text.
TEST_F(RegexDifferential, EmptyMatchesWithGlobalOn) {
  if (under_wine()) GTEST_SKIP() << "Wine's service does not return";
  expect_agreement({{"a*", "baaa"}, {"^", "a\r\nb"}, {"(x?)", "xyx"}});
}

}  // namespace
