#include "print/shipment_export.h"

#include <iterator>

#include "runtime/text_encoding.h"

namespace print {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kHeader[] = "订单编号,物流公司,运单号,收件人,手机,地址,商品,打印时间";

// A buyer's text that a spreadsheet program would take for a formula
// ("=…", "+…", "-…", "@…") is kept as text.
std::string as_text(std::string utf8) {
  if (!utf8.empty() && std::string_view("=+-@").find(utf8.front()) != std::string_view::npos)
    utf8.insert(0, "'");
  return utf8;
}

std::string utf8_of(std::string_view gbk) { return rt::to_utf8(gbk); }

}  // namespace

std::string csv_cell(std::string_view utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
  std::string cell = "\"";
  for (char c : utf8) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
  return cell + "\"";
}

ShipmentFile shipment_file(const std::vector<const HistoryEntry*>& entries) {
  ShipmentFile file;
  file.bytes = std::string(kByteOrderMark) + utf8_of(kHeader) + "\r\n";
  for (const HistoryEntry* e : entries) {
    const PrintNote& note = e->note;
    std::string time = std::string(e->date()) + (note.time.empty() ? "" : " " + note.time);
    std::string cells[] = {utf8_of(note.order_number),        utf8_of(note.template_name),
                           utf8_of(note.waybill_number),      as_text(utf8_of(e->name())),
                           as_text(utf8_of(e->mobile())),     as_text(utf8_of(e->address())),
                           as_text(utf8_of(e->goods())),      utf8_of(time)};
    for (size_t i = 0; i < std::size(cells); ++i)
      file.bytes += (i == 0 ? "" : ",") + csv_cell(cells[i]);
    file.bytes += "\r\n";
    ++file.rows;
    if (note.order_number.empty()) ++file.without_order_number;
  }
  return file;
}

std::string shipment_file_summary(const ShipmentFile& file) {
  std::string text = "已导出 " + std::to_string(file.rows) + " 条";
  if (file.without_order_number > 0)
    text += "，其中 " + std::to_string(file.without_order_number) + " 条没有订单编号";
  return text;
}

}  // namespace print
