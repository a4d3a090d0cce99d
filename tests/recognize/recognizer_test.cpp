// Recognition of each page kind, as the main window sees it.
#include <gtest/gtest.h>

#include "runtime/platform.h"
#include "runtime/settings_file.h"
#include "tests/recognize/pages.h"
#include "tests/recognize/recognition_fixture.h"

namespace {

using namespace view::control;
using pages::crlf;

class BatchPage : public Recognition {};

TEST_F(BatchPage, TwoOrdersFillTheFirstAndEnableBatchPrinting) {
  pages::Order second;
  second.number = "100000002";
  second.buyer = "buyer02";
  second.message = "";
  second.address_line = "上海 上海市 浦东新区 世纪大道1号 ，200120，李四，021-58881234 13987654321";
  recognizer->recognise(pages::batch_page_of({pages::Order{}, second}));

  EXPECT_EQ(view.status, "获取成功 2 条！ [批量页]");
  EXPECT_EQ(names(), (std::vector<std::string>{"张三", "李四"}));
  EXPECT_EQ(view.list_selection(name_box), 0);
  EXPECT_EQ(box(name_box), "张三");
  EXPECT_EQ(box(mobile_phone), "13812345678");
  EXPECT_EQ(box(fixed_phone), "");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区文三路100号");
  EXPECT_TRUE(batch_print());

  ASSERT_EQ(recognizer->records().size(), 2u);
  EXPECT_EQ(recognizer->records()[0].summary, "100000001__buyer01__请尽快发货");
  EXPECT_EQ(recognizer->records()[1].summary, "100000002__buyer02__");

  view.list_select(name_box, 1);
  recognizer->show_record();
  EXPECT_EQ(box(name_box), "李四");
  EXPECT_EQ(box(fixed_phone), "021-58881234");
  EXPECT_EQ(box(mobile_phone), "13987654321");
  EXPECT_EQ(box(address), "上海上海市浦东新区世纪大道1号");
}

TEST_F(BatchPage, OneOrderLeavesBatchPrintingOff) {
  view.set_enabled(batch_print_button, true);
  recognizer->recognise(pages::batch_page_of({pages::Order{}}));
  EXPECT_EQ(view.status, "获取成功 1 条！ [批量页]");
  EXPECT_FALSE(batch_print());
}

TEST_F(BatchPage, ShortBodyAlsoGoesThroughTheShortTextKinds) {
  std::string body = pages::order_block(pages::Order{});
  ASSERT_LT(body.size(), 200u);
  recognizer->recognise(pages::batch_page(body));
  // The body ends in no short-text kind, so the boxes are cleared again.
  EXPECT_EQ(view.status, "获取成功 1 条！ [批量页]");
  EXPECT_EQ(names(), (std::vector<std::string>{"张三"}));
  EXPECT_EQ(box(name_box), "");
}

TEST_F(BatchPage, ManyOrdersKeepPageOrder) {
  std::vector<pages::Order> orders;
  for (int i = 1; i <= 120; ++i) orders.push_back(pages::numbered_order(i));
  recognizer->recognise(pages::batch_page_of(orders));
  EXPECT_EQ(view.status, "获取成功 120 条！ [批量页]");
  ASSERT_EQ(names().size(), 120u);
  EXPECT_EQ(names()[76], "收件人77");
  view.list_select(name_box, 76);
  recognizer->show_record();
  EXPECT_EQ(box(name_box), "收件人77");
  EXPECT_EQ(box(mobile_phone), "13900000077");
  EXPECT_EQ(box(order_number), "100000077");  // each record its own order
  EXPECT_EQ(recognizer->record_texts(3).order_number, "100000004");
}

TEST_F(BatchPage, BodyWithoutOrdersCountsZeroAndKeepsTheBoxes) {
  view.set_text(name_box, "earlier");
  view.set_text(mobile_phone, "13800000000");
  recognizer->recognise(pages::batch_page(std::string(300, 'x')));
  EXPECT_EQ(view.status, "获取成功 0 条！ [批量页]");
  EXPECT_TRUE(names().empty());
  EXPECT_EQ(box(name_box), "");  // emptied with its list, as the window's combo box is
  EXPECT_EQ(box(mobile_phone), "13800000000");
}

TEST_F(BatchPage, NothingBetweenTheMarkers) {
  recognizer->recognise("第三步确认收货信息并填写运单号填写运单号后确认，交易状态就会变成更改为" +
                        std::string(200, 'x'));
  EXPECT_EQ(view.status, "获取未成功 -0");
}

TEST_F(BatchPage, AddressLineWithTooFewPiecesKeepsItsRecordUnnamed) {
  pages::Order broken;
  broken.address_line = "只有地址没有逗号";
  pages::Order no_address;
  no_address.address_line = "";
  recognizer->recognise(pages::batch_page_of({broken, no_address, pages::Order{}}));
  EXPECT_EQ(view.status, "获取成功 3 条！ [批量页]");
  EXPECT_EQ(names(), (std::vector<std::string>{"", "", "张三"}));
  EXPECT_EQ(box(name_box), "");
  view.list_select(name_box, 2);
  recognizer->show_record();
  EXPECT_EQ(box(name_box), "张三");
}

TEST_F(BatchPage, ItemCodesAreAskedOncePerNewTitle) {
  rt::ini_write(path_, "baobeibiaotidaihao", "已知宝贝", "K9");
  pages::Order a, b, c;
  a.goods = pages::goods_block("新款跑鞋");
  b.goods = pages::goods_block("新款跑鞋", "鞋码： 41") + pages::goods_block("已知宝贝");
  c.goods = pages::goods_block("另一款");
  ScriptedDialog::answers = {"R1"};  // the second title is cancelled
  recognizer->recognise(pages::batch_page_of({a, b, c}));

  EXPECT_EQ(ScriptedDialog::prompts, (std::vector<std::string>{"新款跑鞋", "另一款"}));
  EXPECT_EQ(ScriptedDialog::owners, (std::vector<uintptr_t>{0x51, 0x51}));
  EXPECT_EQ(recognizer->records()[0].goods, "R1_黑色_40×2件▅");
  EXPECT_EQ(recognizer->records()[1].goods, "R1_黑色_41×2件▅K9_黑色_40×2件▅");
  EXPECT_EQ(recognizer->records()[2].goods, "_黑色_40×2件▅");
  EXPECT_EQ(box(goods), "R1_黑色_40×2件▅");
  EXPECT_EQ(rt::ini_read(path_, "baobeibiaotidaihao", "新款跑鞋"), "R1");
  EXPECT_EQ(rt::ini_read(path_, "baobeibiaotidaihao", "另一款"), "");
}

// A batch page the platform still masks: no mask in a box or the name
// list, the status says what to do, and no batch prints masks.
TEST_F(BatchPage, MaskedRecordsAreSaidAndFillNoMask) {
  pages::Order masked;
  masked.address_line = "浙江省 杭州市 西湖区 **** ，310000，王**，139****1234";
  recognizer->recognise(pages::batch_page_of({masked, pages::numbered_order(2)}));
  EXPECT_EQ(view.status,
            "收货信息已打码（姓名、手机、详细地址）：请在订单页点开“查看”后再复制（第 1 条）");
  EXPECT_EQ(names(), (std::vector<std::string>{"", "收件人2"}));
  EXPECT_EQ(box(name_box), "");
  EXPECT_EQ(box(mobile_phone), "");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区");
  EXPECT_FALSE(batch_print());
}

// Goods of listings other than shoes, from their labelled lines; a
// page with shoe blocks keeps reading them as before.
TEST_F(Recognition, GoodsOfAnyListingFillTheGoodsBox) {
  pages::Order clothing;
  clothing.goods = "纯棉短袖T恤男宽松潮牌ins半袖上衣" + crlf + "颜色分类：白色；尺码：XL" + crlf +
                   "数量：2" + crlf;
  recognizer->recognise(pages::batch_page_of({clothing, pages::numbered_order(2)}));
  EXPECT_EQ(box(goods), "白色_XL×2");
  // A title with its stored item code, the title cut before the options.
  rt::ini_write(path_, "baobeibiaotidaihao", "纯棉短袖T恤", "T01");
  recognizer->recognise("收货人：张三\n手机：13812345678\n地址：浙江省杭州市西湖区文三路100号\n"
                        "商品：纯棉短袖T恤\n颜色分类：白色；尺码：XL\n数量：2");
  EXPECT_EQ(box(goods), "T01_白色_XL×2");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区文三路100号");
  recognizer->recognise("收货人：张三\n手机：13812345678\n地址：浙江省杭州市西湖区文三路100号\n"
                        "商品：纯棉短袖T恤男宽松潮牌ins半袖上衣\n颜色分类：白色；尺码：XL");
  EXPECT_EQ(box(goods), "纯棉短袖T恤男宽松潮牌ins_白色_XL");
  // A chat that names its goods, and a sheet's rows with goods columns.
  recognizer->recognise("亲 发这个：张三 13812345678 浙江省杭州市西湖区文三路100号 颜色:黑色 尺码:L x2");
  EXPECT_EQ(box(goods), "黑色_L×2");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区文三路100号");
  recognizer->recognise(
      "姓名\t电话\t地址\t商品\t数量\n"
      "张三\t13800138000\t浙江省杭州市西湖区文三路100号\t连衣裙\t2\n"
      "李四\t13912345678\t江苏省南京市鼓楼区中山路18号\t洗衣皂\t3\n");
  EXPECT_EQ(box(goods), "连衣裙×2");
  EXPECT_EQ(recognizer->record_texts(1).goods, "洗衣皂×3");
}

TEST_F(Recognition, WholeShipPageHasOneRecordWithGoods) {
  rt::ini_write(path_, "baobeibiaotidaihao", "男鞋", "M1");
  view.set_enabled(batch_print_button, true);
  recognizer->recognise(pages::whole_ship_page(
      "北京 北京市 朝阳区 建国路88号 ，100022，王五，010-65001234 13600001111",
      pages::goods_block("男鞋", "鞋码: 42", "颜色分类: 白色", "单价 ×1双")));
  EXPECT_EQ(view.status, "已识别 1 个 [发货整页]");
  EXPECT_EQ(names(), (std::vector<std::string>{"王五"}));
  EXPECT_EQ(box(name_box), "王五");
  EXPECT_EQ(box(fixed_phone), "010-65001234");
  EXPECT_EQ(box(mobile_phone), "13600001111");
  EXPECT_EQ(box(address), "北京北京市朝阳区建国路88号");
  EXPECT_EQ(box(goods), "M1_白色_42×1双▅");
  EXPECT_EQ(recognizer->records()[0].summary, "");
  EXPECT_FALSE(batch_print());
}

class ShortText : public Recognition {
 protected:
  void recognise(const std::string& text) {
    ASSERT_GT(text.size(), 40u);
    ASSERT_LT(text.size(), 200u);
    recognizer->recognise(text);
  }
};

TEST_F(ShortText, ShipPageWithAndWithoutFixedLine) {
  recognise("浙江省 杭州市 西湖区 文三路100号 ，310000，张三，13812345678");
  EXPECT_EQ(view.status, "已识别 1 个 [发货页]");
  EXPECT_EQ(box(name_box), "张三");
  EXPECT_EQ(box(fixed_phone), "");
  EXPECT_EQ(box(mobile_phone), "13812345678");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区文三路100号");
  EXPECT_TRUE(recognizer->records().empty());

  recognise("浙江省 杭州市 西湖区 文三路100号 ，310000，张三，0571-88886666 13812345678" + crlf);
  EXPECT_EQ(box(fixed_phone), "0571-88886666");
  EXPECT_EQ(box(mobile_phone), "13812345678");
}

// Nothing the address parser can use either: the page kinds' outcome stands.
TEST_F(ShortText, ShipPageWithTooFewPiecesTouchesOnlyTheNameList) {
  view.set_text(address, "earlier");
  recognise("这是一段没有收件人也没有地址可言的文字内容，编号12345678");
  EXPECT_EQ(view.status, "获取未成功 -5");
  EXPECT_EQ(box(name_box), "");  // emptied with its list, as the window's combo box is
  EXPECT_EQ(box(address), "earlier");
}

TEST_F(ShortText, DetailPage) {
  recognise("张三，13812345678，浙江省 杭州市 西湖区 文三路100号 ，310000");
  EXPECT_EQ(view.status, "已识别 1 个 [详情页]");
  EXPECT_EQ(box(name_box), "张三");
  EXPECT_EQ(box(mobile_phone), "13812345678");
  EXPECT_EQ(box(fixed_phone), "");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区文三路100号");
}

// The address starts after the last phone present, or after the name.
TEST_F(ShortText, DetailPageWithBothPhonesOrNone) {
  recognise("张三，0571-88886666，13812345678，浙江省 杭州市 西湖区 文三路100号 ，310000");
  EXPECT_EQ(box(fixed_phone), "0571-88886666");
  EXPECT_EQ(box(mobile_phone), "13812345678");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区文三路100号");
  recognise("张三，杭州市 西湖区 文三路100号大院 ，310000");
  EXPECT_EQ(view.status, "已识别 1 个 [详情页]");
  EXPECT_EQ(box(mobile_phone), "");
  EXPECT_EQ(box(address), "杭州市西湖区文三路100号大院");
}

TEST_F(ShortText, ChatWindow) {
  recognise("张三  手机：13812345678 固话：0571-88886666 浙江省杭州市西湖区文三路100号 (310000)");
  EXPECT_EQ(view.status, "已识别 1 个 [旺旺窗口]");
  EXPECT_EQ(box(name_box), "张三");
  EXPECT_EQ(box(mobile_phone), "13812345678");
  EXPECT_EQ(box(fixed_phone), "0571-88886666");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区文三路100号");

  // Without two spaces there is no name; labels go wherever they are.
  recognise("张三 手机：13812345678 杭州市手机：西湖区文三路100号 (310000)");
  EXPECT_EQ(box(name_box), "");
  EXPECT_EQ(box(address), "张三杭州市西湖区文三路100号");
}

TEST_F(ShortText, NoKindClearsTheBoxesAndSaysSo) {
  view.set_status("before");
  view.set_text(name_box, "earlier");
  view.set_text(goods, "earlier");
  view.set_enabled(batch_print_button, true);
  recognise("这段文字不属于任何一种页面，也没有可识别的结尾标记 abc");
  EXPECT_EQ(view.status, "获取未成功 -未知");
  for (int id : {name_box, mobile_phone, fixed_phone, address, goods}) EXPECT_EQ(box(id), "");
  EXPECT_FALSE(batch_print());
}

// A text recognised as nothing says so instead of leaving an earlier
// success above boxes that no longer belong to it.
TEST_F(Recognition, TextsOfNoStageSayNothingWasFound) {
  recognizer->recognise(pages::batch_page_of({pages::Order{}, pages::Order{}}));
  view.set_status("kept");
  for (std::string text : {std::string(40, 'a'), std::string(200, 'a'), std::string("\t \tb")}) {
    recognizer->recognise(text);
    EXPECT_EQ(view.status, "获取未成功 -未知");
    EXPECT_EQ(box(name_box), "");  // the list's clearing empties the box
    EXPECT_TRUE(names().empty());
    EXPECT_TRUE(recognizer->records().empty());
  }
}

TEST_F(Recognition, EmptyClipboardKeepsEverything) {
  recognizer->recognise(pages::batch_page_of({pages::Order{}, pages::Order{}}));
  for (std::string text : {std::string(), std::string("  　 "), std::string(" \t\t  ")}) {
    recognizer->recognise(text);
    EXPECT_EQ(view.status, "获取未成功 [空剪辑板]");
    EXPECT_EQ(names().size(), 2u);
    EXPECT_EQ(recognizer->records().size(), 2u);
  }
}

TEST_F(Recognition, LongTextOfNoKind) {
  recognizer->recognise(std::string(201, 'z'));
  EXPECT_EQ(view.status, "获取未成功 -未知>200");
}

TEST_F(Recognition, ReadsTheClipboard) {
  ASSERT_TRUE(platform_set_clipboard_text(
      "  浙江省 杭州市 西湖区 文三路100号 ，310000，张三，13812345678\t"));
  recognizer->recognise_clipboard();
  EXPECT_EQ(view.status, "已识别 1 个 [发货页]");
  EXPECT_EQ(box(name_box), "张三");
}

TEST_F(Recognition, ShowRecordWithoutARecordChangesNothing) {
  view.set_text(name_box, "typed");
  recognizer->show_record();
  view.list_add(name_box, "stray");
  view.list_select(name_box, 0);
  recognizer->show_record();
  EXPECT_EQ(box(name_box), "typed");
}

// An item code that cannot be written is used for this page and the
// status line says it was not kept.
TEST_F(Recognition, AnItemCodeThatCannotBeSavedIsSaidOnce) {
  std::string unwritable = (dir_ / "missing-folder" / "cfg.ini").string();
  recognize::Recognizer elsewhere(view, unwritable, main_window);
  ScriptedDialog::answers = {"Q1"};
  elsewhere.recognise(pages::whole_ship_page(
      "北京 北京市 朝阳区 建国路88号 ，100022，王五，13600001111", pages::goods_block("男鞋")));
  EXPECT_EQ(view.status, "已识别 1 个 [发货整页]（宝贝代号未能保存到 " + unwritable + "）");
  EXPECT_NE(box(goods).find("Q1_"), std::string::npos);
}

}  // namespace

namespace {

class AnyRecipient : public Recognition {};

// Texts no page kind knows go to the address parser: it fills the boxes.
TEST_F(AnyRecipient, ATextOfNoKindFillsTheBoxes) {
  view.set_enabled(batch_print_button, true);
  recognizer->recognise("广西南宁良庆区五象航洋城38楼马云15000000000");
  // The name was cut off the address's end by its shape: the seller checks it.
  EXPECT_EQ(view.status, "已识别 1 个 [智能识别] 请核对：姓名");
  EXPECT_EQ(box(name_box), "马云");
  EXPECT_EQ(box(mobile_phone), "15000000000");
  EXPECT_EQ(box(fixed_phone), "");
  EXPECT_EQ(box(address), "广西壮族自治区南宁市良庆区五象航\r\n洋城38楼");
  EXPECT_FALSE(batch_print());
  EXPECT_TRUE(recognizer->records().empty());

  // Short texts too (a page kind said "获取未成功 -未知" first).
  recognizer->recognise("王晓光 万州区 太平镇，13311111111");
  EXPECT_EQ(view.status, "已识别 1 个 [智能识别]");
  EXPECT_EQ(box(address), "重庆市万州区太平镇");
}

TEST_F(AnyRecipient, AMaskedNumberIsNamedAndNotPrinted) {
  recognizer->recognise("张三 138****8000 浙江省杭州市西湖区文三路100号");
  EXPECT_EQ(view.status,
            "已识别 1 个 [智能识别]（手机号码 138****8000 被隐藏，请向买家要完整号码）");
  EXPECT_EQ(box(mobile_phone), "");
}

// An order the platform still masks: no mask in a box, and the status says
// what is masked and how to copy it whole.
TEST_F(AnyRecipient, AMaskedOrderSaysWhatIsMaskedAndFillsNoMask) {
  recognizer->recognise("收货信息：王**，139****1234，浙江省杭州市西湖区****");
  EXPECT_EQ(view.status, "收货信息已打码（姓名、手机、详细地址）：请在订单页点开“查看”后再复制");
  EXPECT_EQ(box(name_box), "");
  EXPECT_EQ(box(mobile_phone), "");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区");

  // Also in the shape of a detail page, which read the label and the mask
  // as the name and the masked number as address.
  recognizer->recognise("收货信息：王**，139****1234，浙江省 杭州市 西湖区 **** ，310000");
  EXPECT_EQ(view.status, "收货信息已打码（姓名、手机、详细地址）：请在订单页点开“查看”后再复制");
  EXPECT_EQ(box(name_box), "");
  EXPECT_EQ(box(address), "浙江省杭州市西湖区");
}

// A pasted list becomes the record list, ready for batch printing.
TEST_F(AnyRecipient, AListBecomesTheRecords) {
  recognizer->recognise(
      "张三\t13800138000\t浙江省杭州市西湖区文三路100号\n"
      "李四\t0571-88886666\t江苏省南京市鼓楼区中山路18号\n"
      "王五\t15888886666\t广东省广州市天河区天河路385号\n");
  EXPECT_EQ(view.status, "获取成功 3 条！ [智能识别]");
  EXPECT_EQ(names(), (std::vector<std::string>{"张三", "李四", "王五"}));
  EXPECT_EQ(recognizer->records().size(), 3u);
  EXPECT_TRUE(batch_print());
  EXPECT_EQ(box(name_box), "张三");
  view.list_select(name_box, 1);
  recognizer->show_record();
  EXPECT_EQ(box(name_box), "李四");
  EXPECT_EQ(box(fixed_phone), "0571-88886666");
  EXPECT_EQ(box(mobile_phone), "");
  EXPECT_EQ(box(address), "江苏省南京市鼓楼区中山路18号");
}

}  // namespace
