// The parser's behaviour beyond the case table: lists, masked numbers,
// numbers that are not phones, and texts that are no address at all.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "recipient/parser.h"

namespace {

using recipient::parse_recipient;
using recipient::parse_recipients;

TEST(Lists, OneRecipientPerLineOrPerBlock) {
  auto names = [](const std::vector<recipient::Recipient>& list) {
    std::string s;
    for (const auto& r : list) s += r.name + "/";
    return s;
  };
  // A spreadsheet with its header row: the header is no recipient.
  std::string sheet =
      "姓名\t电话\t地址\n"
      "张三\t13800138000\t浙江省杭州市西湖区文三路100号\n"
      "李四\t13912345678\t江苏省南京市鼓楼区中山路18号\n"
      "王五\t15888886666\t广东省广州市天河区天河路385号\n";
  EXPECT_EQ(names(parse_recipients(sheet)), "张三/李四/王五/");
  // One row under its header: the goods and quantity columns stay out.
  std::vector<recipient::Recipient> row = parse_recipients(
      "姓名\t电话\t地址\t商品\t数量\n张伟\t13800138000\t浙江省杭州市西湖区文三路100号\t连衣裙\t2\n");
  ASSERT_EQ(row.size(), 1u);
  EXPECT_EQ(row[0].name + "|" + row[0].district + "|" + row[0].detail, "张伟|西湖区|文三路100号");
  // Recipients of three lines each, no blank line between, and two on a line.
  EXPECT_EQ(names(parse_recipients("张伟\n13800138000\n浙江省杭州市西湖区文三路100号\n"
                                   "李娜\n13912345678\n江苏省南京市鼓楼区中山路18号\n")),
            "张伟/李娜/");
  EXPECT_EQ(names(parse_recipients("张伟 13800138000 浙江省杭州市西湖区文三路100号；"
                                   "李娜 13912345678 江苏省南京市鼓楼区中山路18号")),
            "张伟/李娜/");
  // Numbered with circled digits.
  EXPECT_EQ(names(parse_recipients("①张伟 13800138000 浙江省杭州市西湖区文三路100号\n"
                                   "②李娜 13912345678 江苏省南京市鼓楼区中山路18号")),
            "张伟/李娜/");
  // A second phone on its own line is still one recipient.
  EXPECT_EQ(names(parse_recipients("收货人：张伟\n手机：13800138000\n备用电话：13912345678\n"
                                   "地址：浙江省杭州市西湖区文三路100号")),
            "张伟/");
  std::string chat =
      "收货人：张三\n手机：13800138000\n地址：浙江省杭州市西湖区文三路100号\n\n"
      "收货人：李四\n手机：13912345678\n地址：江苏省南京市鼓楼区中山路18号\n";
  std::vector<recipient::Recipient> two = parse_recipients(chat);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].district, "鼓楼区");
  EXPECT_EQ(two[1].mobile, "13912345678");
  // One recipient over several lines stays one.
  std::string one = "张三\n13800138000\n浙江省杭州市西湖区文三路100号\n";
  ASSERT_EQ(parse_recipients(one).size(), 1u);
  EXPECT_EQ(parse_recipients(one)[0].name, "张三");
}

TEST(Numbers, MaskedNumbersAreNeverMobiles) {
  recipient::Recipient r = parse_recipient("张三 138****8000 浙江省杭州市西湖区文三路100号");
  EXPECT_EQ(r.mobile, "");
  EXPECT_EQ(r.masked_mobile, "138****8000");
  EXPECT_EQ(r.detail, "文三路100号");
}

TEST(Numbers, LongerDigitRunsAreNoPhones) {
  // An order number holds a mobile-looking run; it is not taken.
  recipient::Recipient r =
      parse_recipient("订单号 2024138001380001 张三 13912345678 浙江省杭州市西湖区文三路100号");
  EXPECT_EQ(r.mobile, "13912345678");
  EXPECT_EQ(r.fixed, "");
  EXPECT_EQ(r.postcode, "");
  // Two mobiles: the second is the other phone.
  r = parse_recipient("张三 13800138000 备用13912345678 浙江省杭州市西湖区文三路100号");
  EXPECT_EQ(r.mobile, "13800138000");
  EXPECT_EQ(r.fixed, "13912345678");
}

// A GB18030 four-byte character (U+48BA, 82 34 88 38) carries ASCII digits
// as its second and fourth bytes: a number right after it is still read
// whole, and the character stays whole in the name and the address.
TEST(Numbers, DigitBytesOfAFourByteCharacterAreNoDigits) {
  const std::string jiang = "\x82\x34\x88\x38";
  recipient::Recipient r =
      parse_recipient("收货人：刘" + jiang + "13800138000，重庆市巫溪县" + jiang + "江镇1号");
  EXPECT_EQ(r.mobile, "13800138000");
  EXPECT_EQ(r.name, "刘" + jiang);
  EXPECT_EQ(r.district, "巫溪县");
  EXPECT_EQ(r.detail, jiang + "江镇1号");
  // A postcode glued to it, and "/" parts after it.
  r = parse_recipient("刘" + jiang + "/13800138000/重庆市巫溪县" + jiang + "江镇1号" + jiang + "405800");
  EXPECT_EQ(r.name, "刘" + jiang);
  EXPECT_EQ(r.mobile, "13800138000");
  EXPECT_EQ(r.postcode, "405800");
}

// A name given up in two places (江东区 of 宁波 and of 衡阳) is read under
// the city written; without one it is a guess the seller checks.
TEST(Places, AFormerNameOfTwoPlacesIsAGuessWithoutItsCity) {
  recipient::Recipient r = parse_recipient("江东区江东北路1350号 张三 13800138000");
  EXPECT_TRUE(r.marked(recipient::Item::district)) << r.district;
  EXPECT_FALSE(parse_recipient("宁波市江东区百丈东路1号 张三 13800138000").check);
  // Two whole addresses' divisions one after the other: the second's are
  // read, all three for the seller to check.
  recipient::Recipient two = parse_recipient("山东省临沂市临沭县中国浙江省杭州市余杭区龙潭路5号 张三 13800138000");
  for (recipient::Item level : {recipient::Item::province, recipient::Item::city, recipient::Item::district})
    EXPECT_TRUE(two.marked(level));
}

TEST(FullAddress, AMunicipalityIsWrittenOnce) {
  recipient::Recipient r = parse_recipient("北京市朝阳区建国路88号");
  EXPECT_EQ(recipient::full_address(r), "北京市朝阳区建国路88号");
  r = parse_recipient("杭州西湖区文三路100号");
  EXPECT_EQ(recipient::full_address(r), "浙江省杭州市西湖区文三路100号");
}

TEST(Robustness, TextsWithoutARecipient) {
  EXPECT_TRUE(parse_recipients("").empty());
  EXPECT_TRUE(parse_recipients(" ,;:\r\n\t　").empty());
  EXPECT_TRUE(parse_recipients("，，，").empty());
  // A bare address is one; a chat's words, a sentence or a listing's title
  // are none, whatever place words they hold.
  EXPECT_EQ(parse_recipients("稠城街道下骆宅新塘下幼儿园").size(), 1u);
  ASSERT_EQ(parse_recipients("云宇财富城6-9-918").size(), 1u);
  EXPECT_EQ(parse_recipients("云宇财富城6-9-918")[0].detail, "云宇财富城6-9-918");
  for (const char* words : {"今天下午三点到店取货", "放在门卫室就行", "还是原来那个地址", "新款外套2件",
                            "纯棉短袖T恤男宽松潮牌ins半袖上衣", "本店商品均为正品，欢迎选购门店"})
    EXPECT_TRUE(parse_recipients(words).empty()) << words;
  // A lead byte at the very end, and bytes that are no GBK at all.
  recipient::Recipient r = parse_recipient(std::string("张三 13800138000 \x81", 18));
  EXPECT_EQ(r.mobile, "13800138000");
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    std::string noise(size_t(random() % 200), '\0');
    for (char& c : noise) c = char(random() % 256);
    (void)parse_recipients(noise);  // must not crash or hang (sanitizers watch)
  }
  std::string long_text(100000, 'x');
  EXPECT_EQ(parse_recipient(long_text + "13800138000").mobile, "13800138000");
}

}  // namespace
