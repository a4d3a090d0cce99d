// Copied marketplace pages of each kind, built from the markers that
// recognition looks for (GBK texts, CR LF line ends as the clipboard has).
#pragma once

#include <string>
#include <vector>

namespace pages {

inline const std::string crlf = "\r\n";

struct Order {
  std::string number = "100000001";
  std::string buyer = "buyer01";
  std::string message = "请尽快发货";
  // address ，postcode，name，phones
  std::string address_line = "浙江省 杭州市 西湖区 文三路100号 ，310000，张三，13812345678";
  std::string goods;  // goods blocks, each line ending in CR LF
};

// A goods block: title, size, colour, an optional line, the quantity line.
inline std::string goods_block(const std::string& title, const std::string& size_line = "鞋码: 40",
                               const std::string& colour_line = "颜色分类: 黑色",
                               const std::string& quantity_line = "单价 ×2件",
                               const std::string& optional_line = "") {
  return title + crlf + size_line + crlf + colour_line + crlf +
         (optional_line.empty() ? "" : optional_line + crlf) + quantity_line + crlf;
}

inline std::string order_block(const Order& o) {
  std::string block = "关闭订单详情" + crlf + "订单编号：" + o.number + " 买家：" + o.buyer + crlf;
  if (!o.message.empty()) block += "买家留言：" + o.message + crlf;
  return block + o.goods + "收货信息：" + o.address_line + " 修改收货信息" + crlf;
}

inline std::string batch_page(const std::string& body) {
  return "卖家中心 > 已卖出的宝贝 > 批量发货" + crlf + "第一步选择订单 第二步选择物流公司" + crlf +
         "第三步确认收货信息并填写运单号" + crlf + body +
         "填写运单号后确认，交易状态就会变成更改为" + "“卖家已发货”。" + crlf + "确认并发货" + crlf;
}

inline std::string batch_page_of(const std::vector<Order>& orders) {
  std::string body;
  for (const Order& o : orders) body += order_block(o);
  return batch_page(body);
}

// Order i of a generated batch (distinct number, name and mobile).
inline Order numbered_order(int i, const std::string& goods = "") {
  Order o;
  std::string n = std::to_string(100000000 + i);
  o.number = n;
  o.buyer = "buyer" + std::to_string(i);
  o.address_line = "广东省 深圳市 南山区 科技园路" + std::to_string(i % 1000) +
                   "号 ，518000，收件人" + std::to_string(i) + "，139" + n.substr(1);
  o.goods = goods;
  return o;
}

inline std::string whole_ship_page(const std::string& address_line, const std::string& goods) {
  return "发货 第一步 确认收货信息及交易详情" + crlf + "订单编号：200000001 买家：buyer09" + crlf +
         "下单时间：2026-12-01 10:00:00" + crlf + goods + "收货信息：" + address_line +
         " 修改收货信息" + crlf + "第二步 确认发货信息 我的发货信息 修改我的发货信息" + crlf +
         "第三步 选择物流服务 在线下单 自己联系物流" + crlf;
}

}  // namespace pages
