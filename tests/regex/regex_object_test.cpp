// The RegExp object on the built-in engine: the service's options, syntax
// and matching rules, counted in characters of the GBK text.
#include "regex/regex_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Options {
  bool ignore_case = true, multiline = true, global = true;
};

std::vector<std::string> matches(const char* pattern, const std::string& text, Options o = {}) {
  rx::RegexObject regex;
  EXPECT_TRUE(regex.create(pattern, o.ignore_case, o.multiline, o.global));
  std::vector<std::string> found;
  int n = regex.execute(text);
  for (int i = 1; i <= n; ++i) found.push_back(regex.match_text(i));
  return found;
}

using List = std::vector<std::string>;

TEST(BuiltinEngine, DotMatchesCarriageReturnButNotLineFeed) {
  EXPECT_EQ(matches("a.b", "a\rb a\nb"), (List{"a\rb"}));
  EXPECT_EQ(matches(".+", "ab\r\ncd"), (List{"ab\r", "cd"}));
}

TEST(BuiltinEngine, CountsCharactersNotBytes) {
  EXPECT_EQ(matches(".{2}", "中文ab"), (List{"中文", "ab"}));
  EXPECT_EQ(matches("^.{3}$", "鞋码4"), (List{"鞋码4"}));
  EXPECT_EQ(matches("[^a]", "a中"), (List{"中"}));
  EXPECT_EQ(matches("\\S{1,5}", "×2件 双"), (List{"×2件", "双"}));
}

TEST(BuiltinEngine, GlobalAndEmptyMatches) {
  EXPECT_EQ(matches("\\d+", "a1b22c333"), (List{"1", "22", "333"}));
  EXPECT_EQ(matches("\\d+", "a1b22c333", {true, true, false}), (List{"1"}));
  EXPECT_EQ(matches("x*", "ab"), (List{"", "", ""}));
  EXPECT_EQ(matches("", ""), (List{""}));
}

TEST(BuiltinEngine, IgnoreCaseFoldsLettersOfTheCodePage) {
  EXPECT_EQ(matches("abc", "xABCx"), (List{"ABC"}));
  EXPECT_EQ(matches("abc", "xABCx", {false, true, true}), (List{}));
  EXPECT_EQ(matches("ａｂ", "ＡＢ"), (List{"ＡＢ"}));
  EXPECT_EQ(matches("α", "Α"), (List{"Α"}));
  EXPECT_EQ(matches("[a-c]+", "CAB"), (List{"CAB"}));
  EXPECT_EQ(matches("中", "中"), (List{"中"}));
}

TEST(BuiltinEngine, MultilineAnchors) {
  std::string text = "ab\r\ncd\nef";
  EXPECT_EQ(matches("^\\w+$", text), (List{"ab", "cd", "ef"}));
  EXPECT_EQ(matches("^\\w+$", text, {true, false, true}), (List{}));
  EXPECT_EQ(matches("^\\w+", text, {true, false, true}), (List{"ab"}));
  EXPECT_EQ(matches("\\w+$", text, {true, false, true}), (List{"ef"}));
}

TEST(BuiltinEngine, RepetitionClassesAndGroups) {
  EXPECT_EQ(matches("1[3|4|5|8][0-9]\\d{6,8}", "1|1234567890123"), (List{"1|123456789"}));
  EXPECT_EQ(matches("a{2,3}", "aaaaaaa"), (List{"aaa", "aaa"}));
  EXPECT_EQ(matches("a{2,}?", "aaaa"), (List{"aa", "aa"}));
  EXPECT_EQ(matches("a{,2}", "a{,2}"), (List{"a{,2}"}));  // not a quantifier
  EXPECT_EQ(matches("ab(cd)?e", "abe abcde"), (List{"abe", "abcde"}));
  EXPECT_EQ(matches("(a|ab)(c|bcd)(d*)", "abcd"), (List{"abcd"}));
  EXPECT_EQ(matches("[\\d-]+", "a0571-8888b"), (List{"0571-8888"}));
  EXPECT_EQ(matches("\\bis\\b", "this is it"), (List{"is"}));
  EXPECT_EQ(matches("(\\w)\\1", "abccd"), (List{"cc"}));
  EXPECT_EQ(matches("a(?=b)", "ac ab"), (List{"a"}));
  EXPECT_EQ(matches("a(?!b)\\w", "ab ac"), (List{"ac"}));
  EXPECT_EQ(matches("\\x41\\u4e2d", "A中"), (List{"A中"}));
  EXPECT_EQ(matches("(?:ab)+", "ababx"), (List{"abab"}));
}

TEST(BuiltinEngine, InvalidPatternsFindNothing) {
  for (const char* pattern :
       {"(", "a)", "*a", "a**", "[z-a]", "a{3,2}", "\\", "[abc", "(?<x>a)", "^*", "{2}"}) {
    rx::RegexObject regex;
    ASSERT_TRUE(regex.create(pattern));
    EXPECT_EQ(regex.execute("aaa(*)"), 0) << pattern;
    EXPECT_EQ(regex.match_text(1), "") << pattern;
    EXPECT_EQ(regex.pattern(), pattern);
  }
}

TEST(BuiltinEngine, RunawayPatternsGiveUpInsteadOfHanging) {
  std::string text(5000, 'a');
  rx::RegexObject regex;
  regex.create("(a*)*b");
  EXPECT_EQ(regex.execute(text), 0);
  regex.create("(a|aa)+$");
  EXPECT_EQ(regex.execute(text + "!"), 0);
}

TEST(RegexObject, ExecuteMatchesAndGroups) {
  rx::RegexObject regex;
  regex.create("(\\d{3,4})-(\\d{7,8})(-\\d{1,4})?");
  EXPECT_EQ(regex.submatch_count(), 0);
  EXPECT_EQ(regex.execute("没有"), 0);
  EXPECT_EQ(regex.match_text(1), "");
  EXPECT_EQ(regex.execute("0571-88886666 和 010-1234567-89"), 2);
  EXPECT_EQ(regex.match_count(), 2);
  EXPECT_EQ(regex.match_text(2), "010-1234567-89");
  EXPECT_EQ(regex.submatch_count(), 3);
  EXPECT_EQ(regex.submatch_text(1, 2), "88886666");
  EXPECT_EQ(regex.submatch_text(1, 3), "");
  EXPECT_EQ(regex.submatch_text(2, 3), "-89");
  EXPECT_EQ(regex.submatch_text(3, 1), "");
  EXPECT_EQ(regex.submatch_text(1, 9), "");
  EXPECT_EQ(regex.match_text(0), "");
  EXPECT_EQ(regex.match_text(3), "");

  // A copy shares the matches; a new run replaces them on the original only.
  rx::RegexObject copy = regex.copy();
  EXPECT_EQ(regex.execute("0571-88886666"), 1);
  EXPECT_EQ(regex.match_count(), 1);
  EXPECT_EQ(copy.match_count(), 2);
  EXPECT_EQ(copy.match_text(2), "010-1234567-89");
}

TEST(RegexObject, Replace) {
  rx::RegexObject regex;
  regex.create("(\\d+)-(\\d+)");
  EXPECT_EQ(regex.replace("电话 0571-8888 与 010-1234", "$2/$1"), "电话 8888/0571 与 1234/010");
  EXPECT_EQ(regex.replace("1-2", "[$&|$`|$'|$$|$3|$]"), "[1-2|||$|$3|$]");
  regex.create("a", true, true, false);
  EXPECT_EQ(regex.replace("aAa", "中"), "中Aa");
  regex.create("(");
  EXPECT_EQ(regex.replace("aaa", "b"), "");
}

std::shared_ptr<rx::RegexService> no_service() { return nullptr; }

TEST(RegexObject, WithoutAServiceEverythingIsEmpty) {
  rx::set_regex_service_factory(no_service);
  rx::RegexObject regex;
  EXPECT_FALSE(regex.create("a"));
  EXPECT_EQ(regex.pattern(), "");
  EXPECT_EQ(regex.execute("aaa"), 0);
  EXPECT_EQ(regex.match_text(1), "");
  EXPECT_EQ(regex.replace("aaa", "b"), "");
  EXPECT_EQ(regex.submatch_count(), 0);
  rx::set_regex_service_factory(nullptr);
  EXPECT_TRUE(regex.create("a"));
  EXPECT_EQ(regex.execute("aaa"), 3);
}

}  // namespace
