// The day's shipments as the marketplace's import reads them.
#include "print/shipment_export.h"

#include <gtest/gtest.h>

#include "runtime/text_encoding.h"

namespace {

print::HistoryEntry entry(const std::string& line, const print::PrintNote& note) {
  print::HistoryEntry e = *print::parse_history_line(line);
  e.note = note;
  return e;
}

TEST(ShipmentExport, OrderCourierAndNumberFirstInUtf8WithAByteOrderMark) {
  print::HistoryEntry shipped = entry("2026.12.10；张三；浙江省杭州市西湖区文三路100号；13812345678；；茶杯×2",
                                      {"14:32:05", "圆通", "YT0000000010", "3528811234567890"});
  // A buyer's comma and quotes, no order number, a would-be formula.
  print::HistoryEntry chat = entry("2026.12.10；李\"四\"；上海市，黄浦区；=1+1；；A1,B2",
                                   {"15:00:00", "申通", "773012345678", ""});
  print::ShipmentFile file = print::shipment_file({&shipped, &chat});
  EXPECT_EQ(file.rows, 2);
  EXPECT_EQ(file.without_order_number, 1);
  EXPECT_EQ(print::shipment_file_summary(file), "已导出 2 条，其中 1 条没有订单编号");
  std::string expected = rt::to_utf8(
      "订单编号,物流公司,运单号,收件人,手机,地址,商品,打印时间\r\n"
      "3528811234567890,圆通,YT0000000010,张三,13812345678,浙江省杭州市西湖区文三路100号,茶杯×2,"
      "2026.12.10 14:32:05\r\n"
      ",申通,773012345678,\"李\"\"四\"\"\",'=1+1,上海市，黄浦区,\"A1,B2\",2026.12.10 15:00:00\r\n");
  EXPECT_EQ(file.bytes, "\xEF\xBB\xBF" + expected);
  EXPECT_EQ(print::shipment_file_summary(print::shipment_file({&shipped})), "已导出 1 条");
}

}  // namespace
