// The address line's parts and the address box's wrapping.
#include "recognize/address.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "recognize/recognizer.h"
#include "view/memory_view.h"

namespace {

using recognize::wrap_text;

TEST(ParseAddressLine, MobileOnlyAndWithFixedLine) {
  auto r = recognize::parse_address_line("浙江省 杭州市 文三路1号 ，310000，张三，13812345678");
  EXPECT_EQ(r.name, "张三");
  EXPECT_EQ(r.mobile, "13812345678");
  EXPECT_EQ(r.fixed, "");
  EXPECT_EQ(r.address, "浙江省 杭州市 文三路1号 ");

  r = recognize::parse_address_line(
      "浙江省 杭州市 文三路1号 ，310000，张三，0571-88886666 13812345678");
  EXPECT_EQ(r.name, "张三");
  EXPECT_EQ(r.fixed, "0571-88886666 ");
  EXPECT_EQ(r.address, "浙江省 杭州市 文三路1号 ");  // the space before "，" stays

  // A mistyped ten-digit mobile takes no byte of the "，" before it.
  r = recognize::parse_address_line("浙江省 杭州市 文三路1号 ，310000，张三，1357412345");
  EXPECT_EQ(r.mobile, "1357412345");
  EXPECT_EQ(r.name, "张三");
}

TEST(ParseAddressLine, ShortOrOddLinesGiveEmptyPartsInsteadOfFailing) {
  for (const char* line : {"", "，", "a，b", "无逗号的一行", "，，，", "\x81"}) {
    auto r = recognize::parse_address_line(line);
    EXPECT_LE(r.address.size(), std::string_view(line).size()) << line;
  }
  EXPECT_EQ(recognize::parse_address_line("a，b").name, "a");
  EXPECT_EQ(recognize::parse_address_line("无逗号的一行").name, "");
}

// Every line at most 32 bytes, and the lines put together give the input.
void expect_wrapped(std::string_view in, const std::string& out) {
  std::string joined;
  size_t start = 0;
  while (true) {
    size_t end = out.find("\r\n", start);
    std::string line = out.substr(start, end == std::string::npos ? end : end - start);
    EXPECT_LE(line.size(), 32u) << line;
    joined += line;
    if (end == std::string::npos) break;
    start = end + 2;
  }
  EXPECT_EQ(joined, in);
}

TEST(WrapText, ShortTextsStayWhole) {
  EXPECT_EQ(wrap_text("", 32), "");
  EXPECT_EQ(wrap_text(std::string(32, 'a'), 32), std::string(32, 'a'));
  // Wrapping what is wrapped changes nothing: a full line ending in a run
  // keeps its run.
  std::string wrapped = "浙江省杭州市西湖区文三路门牌1234\r\n号楼";
  EXPECT_EQ(wrap_text(wrapped, 32), wrapped);
}

TEST(WrapText, NeverBreaksInsideADoubleByteCharacter) {
  std::string s = "a" + std::string("浙江省杭州市西湖区文三路一百号大院") + "b";
  std::string out = wrap_text(s, 32);
  EXPECT_EQ(out.substr(0, 33), "a浙江省杭州市西湖区文三路一百号\r\n");
  expect_wrapped(s, out);
}

// A four-byte character (U+48BA 82 34 88 38) that would cross the width goes
// whole to the next line; its digit bytes are no run of digits.
TEST(WrapText, NeverBreaksInsideAFourByteCharacter) {
  std::string s = "重庆市巫溪县重庆市巫溪县重庆市\x82\x34\x88\x38" "江镇";
  EXPECT_EQ(wrap_text(s, 32), "重庆市巫溪县重庆市巫溪县重庆市\r\n\x82\x34\x88\x38" "江镇");
}

TEST(WrapText, AsciiRunsMoveWholeToTheNextLine) {
  std::string s = "浙江省杭州市西湖区文三路门牌号ab12345678";
  EXPECT_EQ(wrap_text(s, 32), "浙江省杭州市西湖区文三路门牌号\r\nab12345678");
  // A run that starts the line is cut at the limit.
  std::string digits(40, '7');
  EXPECT_EQ(wrap_text(digits, 32), std::string(32, '7') + "\r\n" + std::string(8, '7'));
}

// Characters whose second byte is below 0x80 right before a closing mark at
// the break move whole to the next line.
TEST(WrapText, ACharacterWithALowSecondByteBeforeAClosingMarkStaysWhole) {
  for (std::string last : {"區", "門", "東", "廣", "華", "園", "昇", "镕", "赟"}) {
    std::string s = "浙江省杭州市西湖区文三路门牌号" + last + "，后面还有";
    std::string out = wrap_text(s, 32);
    EXPECT_EQ(out, "浙江省杭州市西湖区文三路门牌号\r\n" + last + "，后面还有") << last;
    expect_wrapped(s, out);
  }
}

// Random addresses of such characters, ASCII runs, blanks and marks: every
// line starts at a character boundary of the input and the lines give the
// input back.
TEST(WrapText, RandomAddressesNeverSplitACharacter) {
  const std::vector<std::string> pieces = {"區", "門", "東", "廣", "華", "園", "昇",
                                           "镕", "赟", "省", "市", "，", "。", "（",
                                           "）", "、", "a",  "7",  " ",  "-"};
  uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245 + 12345) >> 16; };
  for (int round = 0; round < 2000; ++round) {
    std::string s;
    std::vector<size_t> boundaries;
    for (int n = 20 + int(next() % 40); n > 0; --n) {
      boundaries.push_back(s.size());
      s += pieces[next() % pieces.size()];
    }
    boundaries.push_back(s.size());
    std::string out = wrap_text(s, 32);
    expect_wrapped(s, out);
    // Line starts in the input's bytes.
    size_t consumed = 0;
    for (size_t from = 0;;) {
      size_t end = out.find("\r\n", from);
      consumed += (end == std::string::npos ? out.size() : end) - from;
      if (end == std::string::npos) break;
      EXPECT_NE(std::find(boundaries.begin(), boundaries.end(), consumed), boundaries.end())
          << "a line break inside a character: " << s;
      from = end + 2;
    }
  }
}

TEST(WrapText, PunctuationRules) {
  // "，" and "。" never start a line: the last character goes along.
  std::string s = "浙江省杭州市西湖区文三路门牌号码，后面还有";
  std::string out = wrap_text(s, 32);
  EXPECT_EQ(out, "浙江省杭州市西湖区文三路门牌号\r\n码，后面还有");
  std::string t = "浙江省杭州市西湖区文三路门牌号x。后面";
  EXPECT_EQ(wrap_text(t, 32), "浙江省杭州市西湖区文三路门牌号\r\nx。后面");
  // "（" never ends a line.
  std::string u = "浙江省杭州市西湖区文三路门牌号（号）";
  EXPECT_EQ(wrap_text(u, 32), "浙江省杭州市西湖区文三路门牌号\r\n（号）");
}

// Where the rules would leave a line empty (an opening mark before a run
// longer than the line), the line is cut at the width: nothing is lost.
TEST(WrapText, AnOpeningMarkBeforeALongRunIsCutAtTheWidth) {
  EXPECT_EQ(wrap_text("（" + std::string(31, '1'), 32), "（" + std::string(30, '1') + "\r\n1");
  EXPECT_EQ(wrap_text("浙江省杭州市西湖区文三路（" + std::string(40, 'A'), 32),
            "浙江省杭州市西湖区文三路\r\n（" + std::string(30, 'A') + "\r\n" +
                std::string(10, 'A'));
  EXPECT_EQ(wrap_text("（" + std::string(29, '1'), 32), "（" + std::string(29, '1'));
}

TEST(WrapText, ArbitraryBytesNeverLoopOrOverrun) {
  for (std::string s :
       {std::string(100, '\x81'), std::string(33, '\xff'),
        std::string("\r\n", 2) + std::string(40, 'a'),
        std::string(31, 'a') + "\r\n" + std::string(10, 'b'), std::string(64, '\x7f')}) {
    EXPECT_GE(wrap_text(s, 32).size(), s.size());  // nothing lost
  }
}

TEST(FillForm, StripsSpacesAndJoinsAndWrapsTheAddress) {
  view::MemoryView view;
  recognize::fill_form(
      view, {" 张 三 ", " 138 1234 5678 ", "0571 8888　6666",
             "广东省 深圳市\r\n南山区 粤海街道 科技园南区 高新南七道 100号 数字技术园", " goods as is "});
  using namespace view::control;
  EXPECT_EQ(view.text(name_box), "张三");
  EXPECT_EQ(view.text(fixed_phone), "057188886666");
  EXPECT_EQ(view.text(mobile_phone), "13812345678");
  EXPECT_EQ(view.text(address),
            "广东省深圳市南山区粤海街道科技园\r\n南区高新南七道100号数字技术园");
  EXPECT_EQ(view.text(goods), " goods as is ");
}

}  // namespace
