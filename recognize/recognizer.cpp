#include "recognize/recognizer.h"

#include <climits>

#include "recognize/address.h"
#include "recognize/field_checks.h"
#include "recognize/order_details.h"
#include "runtime/system.h"
#include "runtime/text_between.h"
#include "runtime/text_encoding.h"
#include "runtime/text_ops.h"

namespace recognize {

namespace {

using view::control::batch_print_button;
using view::control::name_box;
// What a text that is no page of any known kind says.
constexpr char kUnknown[] = "获取未成功 -未知";

std::string removed(std::string_view text, std::string_view sought) {
  return std::string(rt::replace_sub(text, sought, {}, 1, INT_MAX, true).view());
}
std::string trimmed(std::string_view text) { return std::string(rt::trim(text).view()); }

bool has_mask(std::string_view text) { return text.find("**") != std::string_view::npos; }

// Piece 3 of the address line: the name as the marketplace writes it (empty
// when the line has fewer pieces, so names and records stay in step, and
// when the platform still masks it).
std::string listed_name(const ShippingRecord& record) {
  if (record.recipient) return record.recipient->name;
  rt::TextArray parts = rt::split(record.address_line, "，");
  return parts.size() >= 3 && !has_mask(parts[2]) ? std::string(parts[2]) : std::string();
}

// A page's address line as a recipient, with no mask in any field: a
// masked name or mobile is empty, a masked detail left out.
view::Parcel unmasked_line(std::string_view line) {
  view::Parcel r = parse_address_line(line);
  if (has_mask(r.name)) r.name.clear();
  if (r.mobile.find('*') != std::string::npos) r.mobile.clear();
  if (has_mask(r.address)) r.address = removed(r.address, "*");
  return r;
}

// What the platform masks in a page's address line, as the parser tells it.
recipient::Recipient line_masks(std::string_view line) {
  view::Parcel r = parse_address_line(line);
  recipient::Recipient masks;
  masks.masked_name = has_mask(r.name);
  if (r.mobile.find('*') != std::string::npos) masks.masked_mobile = r.mobile;
  masks.masked_detail = has_mask(r.address);
  return masks;
}

constexpr char kParsed[] = " [智能识别]";

void fill_recipient(view::MainView& view, const recipient::Recipient& r, std::string_view goods,
                    std::string_view order = {}) {
  fill_form(view, {r.name, r.mobile, r.fixed, recipient::full_address(r), std::string(goods),
                   std::string(order)});
}

// A masked mobile number is named, never printed as if it were real.
std::string masked_note(const recipient::Recipient& r) {
  if (r.masked_mobile.empty()) return {};
  return "（手机号码 " + r.masked_mobile + " 被隐藏，请向买家要完整号码）";
}

// An order the platform still masks (王**, 139****1234, ****): what is
// masked, and how to copy it whole. Empty when the name and the detail
// are not masked (a buyer's own masked number is told by masked_note).
std::string masked_order_status(const recipient::Recipient& r) {
  if (!r.masked_name && !r.masked_detail) return {};
  std::string fields;
  auto add = [&](bool masked, const char* field) {
    if (masked) fields += (fields.empty() ? "" : "、") + std::string(field);
  };
  add(r.masked_name, "姓名");
  add(!r.masked_mobile.empty(), "手机");
  add(r.masked_detail, "详细地址");
  return "收货信息已打码（" + fields + "）：请在订单页点开“查看”后再复制";
}

// The fields the parser guessed, for the seller to look at before printing.
std::string check_note(const recipient::Recipient& r) {
  static constexpr const char* kNames[] = {"姓名", "手机", "电话", "邮编",
                                           "省份", "城市", "区县", "详细地址"};
  std::string fields;
  for (int i = 0; i < 8; ++i)
    if (r.marked(recipient::Item(i)))
      fields += (fields.empty() ? "" : "、") + std::string(kNames[i]);
  return fields.empty() ? std::string() : " 请核对：" + fields;
}

// Which records of a list have guessed fields: " 请核对：第 2、3 条".
std::string list_check_note(const std::vector<recipient::Recipient>& list) {
  std::string numbers;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].check) numbers += (numbers.empty() ? "" : "、") + std::to_string(i + 1);
  return numbers.empty() ? std::string() : " 请核对：第 " + numbers + " 条";
}

// The detail page's address: from after the separator that follows the
// last phone present (or the name) up to the final "，" and postcode.
std::string detail_page_address(const std::string& t, const view::Parcel& r) {
  constexpr size_t kPostcodeTail = 8;  // "，" and six digits
  size_t start = r.name.size();
  for (const std::string& phone : {r.fixed, r.mobile}) {
    size_t found = phone.empty() ? std::string::npos : t.find(phone, r.name.size());
    if (found != std::string::npos) start = std::max(start, found + phone.size());
  }
  if (t.compare(start, 2, "，") == 0) start += 2;
  size_t end = t.size() > kPostcodeTail ? t.size() - kPostcodeTail : 0;
  return start < end ? t.substr(start, end - start) : std::string();
}

// A page's goods: the shoe listing's blocks where it has them (as they
// always were), else the labelled lines of any listing.
std::string page_goods(GoodsReader& goods, std::string_view text) {
  std::string shoes = goods.goods_text(text);
  return shoes.empty() ? goods.listing_goods(text) : shoes;
}

}  // namespace

view::Parcel boxed(const view::Parcel& found) {
  std::string a = removed(removed(found.address, "\n"), "\r");
  a = rt::strip_spaces(a).view();
  return {std::string(rt::strip_spaces(found.name).view()),
          std::string(rt::strip_spaces(found.mobile).view()),
          std::string(rt::strip_spaces(found.fixed).view()),
          std::string(rt::trim(wrap_text(a, kAddressLineBytes)).view()), found.goods,
          found.order_number};
}

void fill_form(view::MainView& view, const view::Parcel& found) {
  view::show_parcel(view, boxed(found));
}

void Recognizer::recognise_clipboard() { recognise(rt::clipboard_text().view()); }

void Recognizer::recognise(std::string_view copied) {
  // A web page's no-break and zero-width spaces are blanks, as typed.
  std::string plain = rt::with_plain_blanks(copied);
  std::string_view text = plain;
  std::string t = removed(rt::trim(text).view(), "\t");
  if (t.empty()) {
    say("获取未成功 [空剪辑板]");
    return;
  }
  records_.clear();
  view_.list_clear(name_box);
  code_not_saved_ = false;
  said_ = false;
  page_kind_read_ = false;
  if (recognise_masked_order(t)) return;
  if (t.size() <= 40 || t.size() == 200) say(kUnknown);
  if (t.size() > 200) {
    if (rt::find(t, "第三步确认收货信息并") != -1) {
      recognise_batch_page(t);
      if (t.empty()) return;
    } else if (rt::find(t, "确认收货信息及交易详情") != -1) {
      recognise_whole_ship_page(t);
    } else {
      say("获取未成功 -未知>200");
    }
  }
  if (t.size() > 40 && t.size() < 200) recognise_short_text(t);
  if (!page_kind_read_ && recognise_any_recipient(text)) return;
  if (code_not_saved_) say(status_ + "（宝贝代号未能保存到 " + settings_path_ + "）");
}

// One order a platform still masks is no page of any kind: its label or
// its mask would be read as the name, its masked number as address.
bool Recognizer::recognise_masked_order(std::string_view text) {
  constexpr size_t kOneOrder = 4096;
  if (text.size() > kOneOrder || text.find('*') == std::string_view::npos) return false;
  std::vector<recipient::Recipient> found = recipient::parse_recipients(text);
  std::string masked = found.size() == 1 ? masked_order_status(found[0]) : std::string();
  if (masked.empty()) return false;
  fill_recipient(
      view_, found[0],
      GoodsReader(settings_path_, asker_, &code_not_saved_).listing_goods(found[0].goods));
  view_.set_enabled(batch_print_button, false);
  say(masked);
  return true;
}

bool Recognizer::recognise_any_recipient(std::string_view text) {
  std::vector<recipient::Recipient> found = recipient::parse_recipients(text);
  if (found.empty()) return false;
  records_.clear();
  view_.list_clear(name_box);
  GoodsReader goods(settings_path_, asker_, &code_not_saved_);
  if (found.size() == 1) {
    fill_recipient(view_, found[0], goods.listing_goods(found[0].goods), order_number(text));
    view_.set_enabled(batch_print_button, false);
    std::string masked = masked_order_status(found[0]);
    say(!masked.empty()
            ? masked
            : "已识别 1 个" + std::string(kParsed) + masked_note(found[0]) + check_note(found[0]));
    return true;
  }
  std::string checks = list_check_note(found);
  for (recipient::Recipient& r : found)
    add_record(ShippingRecord{{}, goods.listing_goods(r.goods), {}, std::move(r)});
  say("获取成功 " + std::to_string(found.size()) + " 条！" + kParsed + checks);
  view_.list_select(name_box, 0);
  show_record();
  view_.set_enabled(batch_print_button, true);
  return true;
}

void Recognizer::say(const std::string& status) {
  said_ = true;
  status_ = status;
  view_.set_status(status);
}

// Replaces `t` by the page's body; an empty body ends the recognition.
void Recognizer::recognise_batch_page(std::string& t) {
  t = rt::text_between(t, "第三步确认收货信息并填写运单号",
                       "填写运单号后确认，交易状态就会变成更改为");
  if (t.empty()) {
    say("获取未成功 -0");
    return;
  }
  rt::TextArray blocks = rt::split(t, "关闭订单详情");
  GoodsReader goods(settings_path_, asker_, &code_not_saved_);
  // The piece before the first "关闭订单详情" belongs to no order.
  for (size_t i = 1; i < blocks.size(); ++i) {
    std::string_view block = blocks[i];
    add_record(ShippingRecord{trimmed(rt::text_between(block, "收货信息：", "修改收货信息")),
                              page_goods(goods, block), order_summary_text(block), {},
                              order_number(block)});
  }
  int count = blocks.size() > 0 ? int(blocks.size()) - 1 : 0;
  std::string masked = masked_records_status();
  say(masked.empty() ? "获取成功 " + std::to_string(count) + " 条！ [批量页]" : masked);
  page_kind_read_ = true;
  view_.list_select(name_box, 0);
  show_record();
  view_.set_enabled(batch_print_button, count >= 2 && masked.empty());
}

void Recognizer::recognise_whole_ship_page(const std::string& t) {
  GoodsReader goods(settings_path_, asker_, &code_not_saved_);
  add_record(ShippingRecord{trimmed(rt::text_between(t, "收货信息：", "修改收货信息")),
                            page_goods(goods, t), {}, {}, order_number(t)});
  rt::do_events();
  view_.list_select(name_box, 0);
  show_record();
  view_.set_enabled(batch_print_button, false);
  std::string masked = masked_records_status();
  say(masked.empty() ? "已识别 1 个 [发货整页]" : masked);
  page_kind_read_ = true;
}

// Ship page, detail page or chat window, told apart by the text's end.
void Recognizer::recognise_short_text(std::string t) {
  std::string goods = GoodsReader(settings_path_, asker_, &code_not_saved_).listing_goods(t);
  std::string order = order_number(t);
  t = trimmed(removed(removed(t, "\n"), "\r"));
  size_t pieces = rt::split(t, "，").size();
  std::string tail(rt::right(t, 8).view());
  view::Parcel r;
  if (is_all_digits(tail)) {
    if (pieces < 3) {
      say("获取未成功 -5");
      return;
    }
    r = parse_address_line(t);
    say("已识别 1 个 [发货页]");
    page_kind_read_ = true;
  } else if (tail.starts_with("，")) {
    r.name = rt::left(t, rt::find(t, "，") - 1).view();
    r.mobile = find_phone(t, int(PhoneKind::mobile));
    r.fixed = find_phone(t, int(PhoneKind::fixed_line));
    r.address = detail_page_address(t, r);
    say("已识别 1 个 [详情页]");
    page_kind_read_ = true;
  } else if (tail.starts_with("(")) {
    r.name = trimmed(rt::left(t, rt::find(t, "  ")).view());
    r.fixed = rt::text_between(t, " 固话：", " ");
    r.mobile = rt::text_between(t, " 手机：", " ");
    std::string rest = t;
    for (std::string_view sought :
         {std::string_view(r.name), std::string_view(r.fixed), std::string_view(r.mobile),
          std::string_view("固话："), std::string_view("手机：")})
      rest = removed(rest, sought);
    rest = trimmed(rest);
    r.address = trimmed(rt::left(rest, int(rest.size()) - 9).view());
    say("已识别 1 个 [旺旺窗口]");
    page_kind_read_ = true;
  } else if (!said_) {  // a batch page's short body has said its own
    say(kUnknown);
  }
  r.goods = goods;
  r.order_number = order;
  fill_form(view_, r);
  view_.set_enabled(batch_print_button, false);
}

// What the platform still masks in the page's records (and which of
// several records); empty when nothing is masked.
std::string Recognizer::masked_records_status() const {
  recipient::Recipient all;
  std::string numbers;
  for (size_t i = 0; i < records_.size(); ++i) {
    recipient::Recipient masks = line_masks(records_[i].address_line);
    if (masked_order_status(masks).empty() && masks.masked_mobile.empty()) continue;
    all.masked_name |= masks.masked_name;
    all.masked_detail |= masks.masked_detail;
    if (all.masked_mobile.empty()) all.masked_mobile = masks.masked_mobile;
    numbers += (numbers.empty() ? "" : "、") + std::to_string(i + 1);
  }
  std::string status = masked_order_status(all);
  if (status.empty() || records_.size() < 2) return status;
  return status + "（第 " + numbers + " 条）";
}

view::Parcel Recognizer::record_texts(size_t k) const {
  if (k >= records_.size()) return {};
  const ShippingRecord& record = records_[k];
  if (record.recipient) {
    const recipient::Recipient& r = *record.recipient;
    return boxed({r.name, r.mobile, r.fixed, recipient::full_address(r), record.goods,
                  record.order_number});
  }
  view::Parcel r = unmasked_line(record.address_line);
  r.goods = record.goods;
  r.order_number = record.order_number;
  return boxed(r);
}

void Recognizer::show_record() {
  int i = view_.list_selection(name_box);
  if (i < 0 || size_t(i) >= records_.size()) return;
  view::show_parcel(view_, record_texts(size_t(i)));
}

void Recognizer::add_record(ShippingRecord record) {
  view_.list_add(name_box, listed_name(record));
  records_.push_back(std::move(record));
}

}  // namespace recognize
