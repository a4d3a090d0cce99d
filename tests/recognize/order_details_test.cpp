// Goods and order summaries of one order's text.
#include "recognize/order_details.h"

#include <gtest/gtest.h>

#include "runtime/settings_file.h"
#include "tests/recognize/pages.h"
#include "tests/recognize/recognition_fixture.h"

namespace {

using pages::crlf;
using pages::goods_block;
using recognize::order_goods_text;
using recognize::order_summary_text;

class Goods : public Recognition {
 protected:
  std::string goods(const std::string& text) { return order_goods_text(text, path_); }
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

}  // namespace
