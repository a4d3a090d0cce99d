// Goods and order summaries of one order's text.
#include "recognize/order_details.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "runtime/settings_file.h"
#include "runtime/text_encoding.h"
#include "tests/recognize/pages.h"
#include "tests/recognize/recognition_fixture.h"
#include "tests/runtime/recorded_boxes.h"

namespace {

using pages::crlf;
using pages::goods_block;
using recognize::order_goods_text;
using recognize::order_summary_text;

class Goods : public Recognition {
 protected:
  std::string goods(const std::string& text) { return order_goods_text(text, path_, main_window); }
  void store(const char* title, const char* code) {
    rt::ini_write(path_, "baobeibiaotidaihao", title, code);
  }
};

TEST_F(Goods, LabelsWithEitherColonAndMissingLabels) {
  store("鞋", "X");
  EXPECT_EQ(goods(goods_block("鞋", "鞋码: 40", "颜色分类: 红色")), "X_红色_40×2件▅");
  EXPECT_EQ(goods(goods_block("鞋", "鞋码： 40", "颜色分类： 红色")), "X_红色_40×2件▅");
  // A full-width colon without the space matches neither label.
  EXPECT_EQ(goods(goods_block("鞋", "鞋码:40", "颜色分类：红色")), "X__×2件▅");
  EXPECT_TRUE(ScriptedDialog::prompts.empty());
}

TEST_F(Goods, MatchesConcatenateAndSpacesGo) {
  store("鞋 A", "A 1");
  store("鞋B", "B2");
  std::string text = "前文" + crlf + goods_block("鞋 A") + "中间" + crlf +
                     goods_block("鞋B", "鞋码: 39", "颜色分类: 白 色", "单价 ×1 双");
  EXPECT_EQ(goods(text), "A1_黑色_40×2件▅B2_白色_39×1双▅");
}

TEST_F(Goods, OptionalFourthLineIsTakenAsTheQuantityLine) {
  store("鞋", "X");
  EXPECT_EQ(goods(goods_block("鞋", "鞋码: 40", "颜色分类: 黑色", "单价 ×2件", "赠品：鞋垫")),
            "X_黑色_40▅");
  EXPECT_EQ(goods(goods_block("鞋", "鞋码: 40", "颜色分类: 黑色", "单价 ×2件", "数量 ×3")),
            "X_黑色_40×3▅");
}

TEST_F(Goods, NewTitlesAreAskedAndKeptEmptyCodesAreNot) {
  ScriptedDialog::answers = {"", "Z9"};
  std::string block = goods_block("新鞋");
  EXPECT_EQ(goods(block), "_黑色_40×2件▅");
  EXPECT_EQ(rt::ini_read(path_, "baobeibiaotidaihao", "新鞋", "none"), "none");
  EXPECT_EQ(goods(block), "Z9_黑色_40×2件▅");
  EXPECT_EQ(goods(block), "Z9_黑色_40×2件▅");
  EXPECT_EQ(ScriptedDialog::prompts, (std::vector<std::string>{"新鞋", "新鞋"}));
}

// Titles the settings file would break or lose are asked once, remembered,
// and kept in one line each; a title that was safe keeps its old key.
TEST_F(Goods, UnusualTitlesAreAskedOnceAndKeptInOneLine) {
  const std::string titles[] = {"袜子=3双", "[现货]男鞋", ";特价鞋", "%%41", "鞋=1=2"};
  for (const std::string& title : titles)
    ScriptedDialog::answers.push_back("C" + title.substr(0, 1));
  for (int pass = 0; pass < 3; ++pass)
    for (const std::string& title : titles) goods(goods_block(title));
  EXPECT_EQ(ScriptedDialog::prompts,
            std::vector<std::string>(std::begin(titles), std::end(titles)));
  std::ifstream in(path_, std::ios::binary);
  std::string file((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 5) << file;  // header and five codes
  EXPECT_EQ(file.find("[现货]"), std::string::npos) << "no section header from a title";

  store("老标题", "OLD");  // written by an earlier version
  EXPECT_EQ(goods(goods_block("老标题")), "OLD_黑色_40×2件▅");
}

TEST(ItemCodeKey, SafeTitlesKeepTheirKeyOthersAreEscapedAndRoundTrip) {
  EXPECT_EQ(recognize::item_code_key("男鞋 A款"), "男鞋 A款");
  EXPECT_EQ(recognize::item_code_key("区[现货]"), "区[现货]");  // "[" only matters first
  for (std::string title :
       {"袜子=3双", "[现货]男鞋", ";特价", " 前空格", "后空格 ", "%%x", "a\tb",
        "\x82\x34\x88\x38" "江土鸡", "刘\xFE\x9F款"}) {  // characters GBK has not
    std::string key = recognize::item_code_key(title);
    ASSERT_TRUE(key.starts_with("%%")) << title;
    EXPECT_EQ(
        key.find_first_not_of("%0123456789ABCDEFabcdefghijklmnopqrstuvwxyzGHIJKLMNOPQRSTUVWXYZ"),
        std::string::npos);
    EXPECT_EQ(rt::decode_setting_text(key.substr(2)), title);
  }
}

// The settings file stays GBK: a code typed with a character GBK has not
// is asked again, a title with one is found again under its escaped key.
TEST_F(Goods, CharactersGbkHasNotAreNeverStoredAsOthers) {
  ScriptedDialog::answers = {"A\x82\x34\x88\x38", "A1"};
  std::string block = goods_block("\x82\x34\x88\x38" "江土鸡");
  RecordedBoxes boxes;
  EXPECT_EQ(order_goods_text(block, path_, main_window), "A1_黑色_40×2件▅");
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0].rfind("宝贝代号里的“\x82\x34\x88\x38”（U+48BA）存不进设置文件", 0), 0u)
      << boxes.texts[0];
  // The refusal is the asking window's, as the question before it was: no
  // click on that window can start a second recognition under it.
  EXPECT_EQ(boxes.owners, (std::vector<uintptr_t>{0x51}));
  EXPECT_EQ(ScriptedDialog::owners, (std::vector<uintptr_t>{0x51, 0x51}));
  EXPECT_EQ(goods(block), "A1_黑色_40×2件▅");
  EXPECT_EQ(ScriptedDialog::prompts.size(), 2u);
  std::ifstream in(path_, std::ios::binary);
  std::string file((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(rt::first_outside_gbk(file), std::string::npos) << file;
}

TEST_F(Goods, NoBlockOrBareLineFeedsGiveNoGoods) {
  EXPECT_EQ(goods("没有商品的订单"), "");
  EXPECT_EQ(goods("鞋\n鞋码: 40\n颜色分类: 黑色\n单价 ×2件\n"), "");
  EXPECT_TRUE(ScriptedDialog::prompts.empty());
}

TEST_F(Goods, LongTitlesKeepTheirLast63Characters) {
  std::string title = "前" + std::string(70, 't');
  ScriptedDialog::answers = {"L"};
  goods(goods_block(title));
  ASSERT_EQ(ScriptedDialog::prompts.size(), 1u);
  EXPECT_EQ(ScriptedDialog::prompts[0], std::string(62, 't'));  // 63 with the CR
}

TEST(OrderSummary, NumberBuyerAndMessage) {
  std::string order = "订单编号：1234 5678 买家：小 王" + crlf + "买家留言：周末 送" + crlf;
  EXPECT_EQ(order_summary_text(order), "12345678__小王__周末送");
  EXPECT_EQ(order_summary_text("订单编号：1234" + crlf + "买家留言：无换行"), "1234__");
  // The message label must start a line.
  EXPECT_EQ(order_summary_text("订单编号：1 买家：b 买家留言：x" + crlf), "1__b买家留言：x__");
  EXPECT_EQ(order_summary_text(""), "__");
}

// The order number the pages and chats name, whatever the label's colon
// and blanks; a label without six digits after it is no order number.
TEST(OrderNumber, TheDigitsAfterEitherLabel) {
  for (const char* text : {"订单编号：3528811234567890 买家：x", "订单号: 3528811234567890",
                           "……\r\n订单号 　3528811234567890\r\n", "订单编号 ：3528811234567890"})
    EXPECT_EQ(recognize::order_number(text), "3528811234567890") << text;
  EXPECT_EQ(recognize::order_number("订单号：12345 订单编号：200000001"), "200000001");
  EXPECT_EQ(recognize::order_number("请问订单号是多少"), "");
  EXPECT_EQ(recognize::order_number(""), "");
}

}  // namespace
