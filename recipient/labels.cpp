#include "recipient/labels.h"

#include <array>
#include <bitset>
#include <string_view>
#include <unordered_map>

#include "recipient/characters.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

struct Word {
  std::string_view text;
  Field field;
  bool always;  // a label wherever it stands
};

// Longest first where one begins another.
constexpr std::array<Word, 95> kWords = {{
    {"收货人姓名", Field::name, true},     {"收件人姓名", Field::name, true},
    {"收货人名称", Field::name, true},     {"买家姓名", Field::name, true},
    {"客户姓名", Field::name, true},       {"收货人", Field::name, true},
    {"收件人", Field::name, true},         {"联系人", Field::name, true},
    {"姓名", Field::name, true},           {"名字叫", Field::name, true},
    {"名字", Field::name, false},          {"我叫", Field::name, true},
    {"人", Field::name, false},
    {"Name", Field::name, false},          {"name", Field::name, false},
    {"手机号码", Field::phone, true},      {"手机号", Field::phone, true},
    {"联系电话", Field::phone, true},      {"联系手机", Field::phone, true},
    {"电话号码", Field::phone, true},      {"联系方式", Field::phone, true},
    {"移动电话", Field::phone, true},      {"固定电话", Field::phone, true},
    {"备用电话", Field::phone, true},      {"虚拟号码", Field::phone, true},
    {"固话", Field::phone, false},         {"座机", Field::phone, false},
    {"手机", Field::phone, false},         {"电话", Field::phone, false},
    {"号码", Field::phone, false},         {"Tel", Field::phone, false},
    {"TEL", Field::phone, false},          {"tel", Field::phone, false},
    {"Phone", Field::phone, false},        {"phone", Field::phone, false},
    {"Mobile", Field::phone, false},       {"mobile", Field::phone, false},
    {"收货地址", Field::address, true},    {"收件地址", Field::address, true},
    {"详细地址", Field::address, true},    {"所在地区", Field::address, true},
    {"联系地址", Field::address, true},    {"通讯地址", Field::address, true},
    {"邮寄地址", Field::address, true},    {"配送地址", Field::address, true},
    {"街道地址", Field::address, true},    {"退货地址", Field::address, true},
    {"所在地", Field::address, true},
    {"省市区", Field::address, true},      {"地址", Field::address, false},
    {"省份", Field::address, false},       {"城市", Field::address, false},
    {"区县", Field::address, false},
    {"地区", Field::address, false},       {"Address", Field::address, false},
    {"邮政编码", Field::postcode, true},   {"邮编", Field::postcode, true},
    {"收货信息", Field::other, true},      {"收件信息", Field::other, true},
    {"买家信息", Field::other, true},      {"地址信息", Field::other, true},
    {"身份证号码", Field::other, true},    {"身份证号", Field::other, true},
    {"收货", Field::other, false},         {"收件", Field::other, false},
    {"买家留言", Field::remark, true},     {"订单备注", Field::remark, true},
    {"卖家备注", Field::remark, true},     {"备注", Field::remark, true},
    {"留言", Field::remark, false},
    {"订单编号", Field::other, true},     {"订单号", Field::other, true},
    {"运单号", Field::other, true},       {"快递单号", Field::other, true},
    {"商品名称", Field::remark, true},     {"宝贝名称", Field::remark, true},
    {"商品", Field::remark, false},       {"品名", Field::remark, false},
    {"购买数量", Field::remark, true},     {"数量", Field::remark, false},
    {"颜色分类", Field::remark, true},     {"颜色", Field::remark, false},
    {"鞋码", Field::remark, false},       {"尺寸", Field::remark, false},
    {"香型", Field::remark, false},       {"型号", Field::remark, false},
    {"套餐", Field::remark, false},       {"口味", Field::remark, false},
    {"净含量", Field::remark, false},     {"容量", Field::remark, false},
    {"尺码", Field::remark, false},       {"规格", Field::remark, false},
    {"款式", Field::remark, false},       {"实付款", Field::remark, true},
    {"金额", Field::remark, false},
}};

bool is_gap(char c) {
  return c == ' ' || c == ',' || c == ';' || c == '\t' || c == '\r' || c == '\n';
}

bool at_piece_start(std::string_view s, size_t at) { return at == 0 || is_gap(s[at - 1]); }

// A colon or a number follows, blanks between allowed.
bool introduces(std::string_view s, size_t end) {
  while (end < s.size() && s[end] == ' ') ++end;
  if (end >= s.size()) return true;
  char c = s[end];
  return c == ':' || c == '+' || c == '(' || is_digit(c) || s.compare(end, 2, "是") == 0;
}

bool followed_by_colon(std::string_view s, size_t end) {
  while (end < s.size() && s[end] == ' ') ++end;
  return end < s.size() && s[end] == ':';
}

}  // namespace

std::vector<Label> take_labels(std::string& t, std::string& s) {
  std::vector<Label> labels;
  // The words by their first character, in the table's order, so most
  // positions are passed over without comparing any word.
  static const std::unordered_map<uint16_t, std::vector<uint8_t>> by_first = [] {
    std::unordered_map<uint16_t, std::vector<uint8_t>> out;
    for (size_t i = 0; i < kWords.size(); ++i) out[char_code(kWords[i].text, 0)].push_back(uint8_t(i));
    return out;
  }();
  static const std::bitset<65536> starts_a_word = [] {
    std::bitset<65536> out;
    for (const auto& [first, words] : by_first) out.set(first);
    return out;
  }();
  for (size_t at = 0; at < s.size(); at += rt::character_size(s, at)) {
    uint16_t first = char_code(s, at);
    if (!starts_a_word.test(first)) continue;
    for (uint8_t word : by_first.at(first)) {
      const Word& w = kWords[word];
      if (s.compare(at, w.text.size(), w.text) != 0) continue;
      size_t end = at + w.text.size();
      if (!w.always && !at_piece_start(s, at) && !introduces(s, end)) continue;
      // One character ("人:") is a label only at a piece's start before a colon.
      if (w.text.size() == 2 && !(at_piece_start(s, at) && followed_by_colon(s, end))) continue;
      // A Latin word must stand alone ("Tel", not "Hotel").
      if (w.text[0] > 0 && w.text[0] < 0x7F && !at_piece_start(s, at)) continue;
      // "联系人信息：", "收货资料：": a heading over the fields, no field's label.
      Field field = w.field;
      for (std::string_view heading : {"信息", "资料", "详情"})
        if (s.compare(end, heading.size(), heading) == 0) {
          end += heading.size();
          field = Field::other;
          break;
        }
      size_t colon = end;
      while (colon < s.size() && s[colon] == ' ') ++colon;
      if (colon < s.size() && s[colon] == ':') end = colon + 1;
      for (size_t i = at; i < end; ++i) t[i] = s[i] = ' ';
      labels.push_back(Label{at, field, end});
      at = end - 1;
      break;
    }
  }
  return labels;
}

}  // namespace recipient
