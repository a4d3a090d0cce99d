// The goods of any listing: labelled titles, options and counts, and the
// goods line cut to the waybill's field.
#include "recipient/goods.h"

#include <gtest/gtest.h>

#include <string>

#include "recipient/characters.h"

namespace {

using recipient::goods_line;
using recipient::read_goods;

std::string whole_line(std::string_view text) {
  return goods_line(read_goods(recipient::half_width(text)), std::string::npos);
}

TEST(Goods, EachListingsLabelledLines) {
  struct Case {
    const char* text;
    const char* line;
  } cases[] = {
      // A clothing page: title, options on one line, the count on its own.
      {"商品：纯棉T恤\n颜色分类：白色；尺码：XL\n数量：2", "纯棉T恤_白色_XL×2"},
      // Options listed under one label, the count after the title.
      {"商品名称：洗衣皂 ×3\n规格：柠檬香型,200g", "洗衣皂_柠檬香型_200g×3"},
      {"商品: 洗衣皂 2件", "洗衣皂×2"},
      {"颜色:黑色 尺码:L x2", "黑色_L×2"},
      // A second title, or an option seen again, is the next item.
      {"商品：T恤 尺码：M\n商品：长裤 尺码：L*2", "T恤_M▅长裤_L×2"},
      {"颜色分类：白色 尺码：M\n颜色分类：黑色 尺码：L", "白色_M▅黑色_L"},
      // A spreadsheet row's cells, as the header makes them.
      {"姓名:李四\t商品:连衣裙\t数量:2\t", "连衣裙×2"},
      // A shoe size is an option, not a count.
      {"鞋码：38", "38"},
      // No colon, no label: an address's 商品房 is no goods.
      {"收货地址：北京市朝阳区商品房小区3号", ""},
      // Masked or empty values, and a count of nothing.
      {"商品：****\n颜色分类：\n数量：2", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(whole_line(c.text), c.line) << c.text;
}

// A long title gives way first: the options and the count are what the
// seller packs by. Nothing is ever cut inside a character.
TEST(Goods, ALongLineIsCutTitleFirst) {
  std::vector<recipient::GoodsItem> one = read_goods(recipient::half_width(
      "商品：纯棉短袖T恤男宽松潮牌ins半袖上衣\n颜色分类：白色；尺码：XL\n数量：2"));
  EXPECT_EQ(goods_line(one, 32), "纯棉短袖T恤男宽松潮牌_白色_XL×2");
  EXPECT_EQ(goods_line(one, 31), "纯棉短袖T恤男宽松潮_白色_XL×2");
  // A stored item code stands for the title.
  EXPECT_EQ(goods_line(one, 32, [](std::string_view) { return std::string("T01"); }),
            "T01_白色_XL×2");
  std::vector<recipient::GoodsItem> two = read_goods(recipient::half_width(
      "商品：很长很长的连衣裙标题 尺码：M\n商品：很长很长的半身裙标题 尺码：L"));
  std::string line = goods_line(two, 32);
  EXPECT_LE(line.size(), 32u);
  EXPECT_EQ(line, "很长很长的连_M▅很长很长的半_L");
  // Options alone longer than the field: cut whole characters at its end.
  std::vector<recipient::GoodsItem> options =
      read_goods(recipient::half_width("颜色分类：超级无敌宇宙霹雳星空渐变蓝色限定款式版本"));
  EXPECT_EQ(goods_line(options, 9), "超级无敌");
}

}  // namespace
