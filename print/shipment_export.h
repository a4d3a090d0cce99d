// The shipments for the marketplace: printed waybills as the CSV file its
// batch-shipping import takes (订单编号, 物流公司, 运单号 first, then 收件人,
// 手机, 地址, 商品, 打印时间), in UTF-8 with a byte-order mark so that a
// spreadsheet program shows the Chinese.
#pragma once

#include <string>
#include <vector>

#include "print/history.h"

namespace print {

struct ShipmentFile {
  std::string bytes;
  int rows = 0;
  int without_order_number = 0;  // exported with that cell empty
};

ShipmentFile shipment_file(const std::vector<const HistoryEntry*>& entries);

// "已导出 28 条，其中 2 条没有订单编号".
std::string shipment_file_summary(const ShipmentFile& file);

// A CSV cell: quoted when it holds a comma, a quote or a line break (its
// quotes doubled).
std::string csv_cell(std::string_view utf8);

}  // namespace print
