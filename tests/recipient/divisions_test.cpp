// The built-in division table: complete, consistent, and read the way
// addresses write it.
#include <gtest/gtest.h>

#include <set>

#include "recipient/characters.h"
#include "recipient/divisions.h"
#include "recipient/parser.h"
#include "recipient/places.h"
#include "runtime/text_encoding.h"

namespace {

using recipient::Level;

TEST(Divisions, EveryDivisionHangsUnderItsProvince) {
  const recipient::Divisions& d = recipient::divisions();
  int provinces = 0, cities = 0, districts = 0;
  std::set<int> codes;
  for (size_t i = 0; i < d.size(); ++i) {
    const recipient::Division& x = d.at(int(i));
    EXPECT_TRUE(codes.insert(x.code).second) << x.code;
    if (x.level == Level::province) {
      ++provinces;
      EXPECT_EQ(x.parent, -1);
      continue;
    }
    (x.level == Level::city ? cities : districts) += 1;
    const recipient::Division& up = d.at(x.parent);
    EXPECT_EQ(int(up.level), int(x.level) - 1) << x.code;
    // Codes nest: a district's code starts with its city's, a city's with

    int province = d.at(d.province_of(int(i))).code;
    EXPECT_EQ(x.code >= 100000 ? x.code / 10000 : x.code / 100, province) << x.code;
    EXPECT_FALSE(x.name.empty());
  }
  EXPECT_EQ(provinces, 34);  // 31, and Hong Kong, Macao and Taiwan
  EXPECT_GT(cities, 330);
  EXPECT_GT(districts, 2800);
}

// Every county-level division of the table, written in full, with blanks
// between the levels, and without its province, is read back as itself
// (names inside other names, 乾县 against the simplification of 乾, a
// district named after its city).
TEST(Divisions, EveryDistrictIsReadBackInThreeWritings) {
  const recipient::Divisions& d = recipient::divisions();
  int checked = 0;
  for (size_t i = 0; i < d.size(); ++i) {
    const recipient::Division& district = d.at(int(i));
    if (district.level != Level::district) continue;
    const recipient::Division& city = d.at(district.parent);
    const recipient::Division& province = d.at(city.parent);
    std::string own_city = city.municipality ? "" : city.name;
    for (const std::string& text :
         {province.name + own_city + district.name + "人民路1号",
          province.name + " " + city.name + " " + district.name + " 人民路1号",
          (city.municipality ? province.name : city.name) + district.name + "人民路1号"}) {
      recipient::Recipient r = recipient::parse_recipient(text);
      EXPECT_EQ(r.province + "/" + r.city + "/" + r.district + "/" + r.detail,
                province.name + "/" + city.name + "/" + district.name + "/人民路1号")
          << district.code;
      ++checked;
    }
  }
  EXPECT_GT(checked, 8000);
}

// A short form at a text's start decides nothing by itself; with the next
// level, or with its suffix, it does.
TEST(Places, ShortFormsNeedTheirNextLevelOrSuffix) {
  const recipient::Divisions& d = recipient::divisions();
  auto read = [&](const char* text) { return recipient::read_place(text, 0); };
  recipient::Place p = read("杭州西湖区");
  EXPECT_TRUE(p.certain);
  EXPECT_EQ(d.at(p.district).name, "西湖区");
  EXPECT_EQ(d.at(p.province).name, "浙江省");
  EXPECT_FALSE(read("黄山路100号").certain);
  EXPECT_TRUE(read("新津县五津镇").certain);
  EXPECT_EQ(d.at(read("新津县五津镇").district).name, "新津区");
  EXPECT_FALSE(read("文三路100号").found());
  // Where the divisions end: the detail starts there.
  p = read("上海市 黄浦区 陕西南路");
  EXPECT_EQ(std::string("上海市 黄浦区 陕西南路").substr(p.end), " 陕西南路");
}

TEST(Characters, TraditionalFormsBecomeSimplifiedInPlace) {
  std::string text = "廣東省東莞市 abc 區";
  std::string simple = recipient::simplified(text);
  EXPECT_EQ(simple, "广东省东莞市 abc 区");
  EXPECT_EQ(simple.size(), text.size());
  // 區 is 85 5E: its second byte looks like '^' and must not be read alone.
  EXPECT_EQ(rt::character_size("\x85\x5E", 0), 2u);
  EXPECT_EQ(recipient::half_width("１３８　ＡＢ，－"), "138 AB,-");
  EXPECT_EQ(rt::character_size("\x85", 0), 1u);  // a lead byte at the end
}

}  // namespace
