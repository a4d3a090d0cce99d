#include "recognize/order_details.h"

#include <algorithm>

#include "recipient/characters.h"
#include "regex/regex_object.h"
#include "runtime/settings_file.h"
#include "runtime/text_between.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"

namespace recognize {

namespace {

constexpr const char* goods_pattern =
    ".{1,63}\\n鞋码.{2,20}\\n颜色.{2,30}\\n(.{0,30}\\n)?.{1,10}×.{1,5}\\S{1,5}";

// The text after the first of two labels found in the line.
std::string labelled_value(std::string_view line, std::string_view label,
                           std::string_view other_label) {
  std::string value = rt::text_between(line, label, {}, rt::Between::after_left);
  return value.empty() ? rt::text_between(line, other_label, {}, rt::Between::after_left) : value;
}

bool is_profile_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }

}  // namespace

std::string item_code_key(std::string_view title) {
  constexpr std::string_view kEscaped = "%%";
  // A title with a character GBK has not is kept as its escaped bytes, so
  // the same title finds the same key again in the GBK file.
  bool keeps = !title.empty() && title.find('=') == std::string_view::npos &&
               rt::character_settings_cannot_keep(title).empty() && title.front() != '[' &&
               title.front() != ';' && !title.starts_with(kEscaped) &&
               !is_profile_blank(title.front()) && !is_profile_blank(title.back()) &&
               std::none_of(title.begin(), title.end(),
                            [](char c) { return (unsigned char)c < 0x20 || c == 0x7F; });
  return keeps ? std::string(title) : std::string(kEscaped) + rt::encode_setting_text(title);
}

GoodsReader::GoodsReader(std::string_view settings_path, view::Asker& asker, bool* code_not_saved)
    : settings_path_(settings_path), code_not_saved_(code_not_saved), asker_(asker) {
  pattern_.create(goods_pattern);
}

std::string GoodsReader::goods_text(std::string_view text) {
  int count = pattern_.execute(text);
  std::string result;
  for (int k = 1; k <= count; ++k) {
    rt::TextArray lines = rt::split(pattern_.match_text(k), "\r\n");
    // A block whose lines end in bare LF does not split into its lines.
    if (lines.size() < 4) continue;
    std::string size = labelled_value(lines[1], "码: ", "码： ");
    std::string colour = labelled_value(lines[2], "颜色分类: ", "颜色分类： ");
    std::string quantity = rt::text_between(lines[3], "×", {}, rt::Between::from_left);
    std::string code = item_code(lines[0]);
    result += code + "_" + colour + "_" + size + quantity + "▅";
  }
  return std::string(rt::strip_spaces(result).view());
}

std::string GoodsReader::listing_goods(const std::vector<recipient::GoodsItem>& items) {
  auto code_of = [this](std::string_view title) { return stored_code(item_code_key(title)); };
  return recipient::goods_line(items, kGoodsLineBytes, code_of);
}

std::string GoodsReader::listing_goods(std::string_view text) {
  return listing_goods(recipient::read_goods(recipient::half_width(text)));
}

// The code stored for a title's key; empty when there is none.
std::string GoodsReader::stored_code(const std::string& key) {
  auto stored = stored_codes_.find(key);
  if (stored != stored_codes_.end()) return stored->second;
  std::string code = settings::CfgFile(settings_path_).item_code(key);
  if (!code.empty()) stored_codes_.emplace(key, code);
  return code;
}

// The stored code of an item title, asked for (and stored) when there is
// none yet. An empty title cannot be a settings key and is never asked for.
std::string GoodsReader::item_code(std::string_view title) {
  if (rt::trim(title).empty()) return {};
  std::string key = item_code_key(title);
  std::string code = stored_code(key);
  // An asked code is read again next time: the file keeps what was written.
  return code.empty() ? asked_code(title, key) : code;
}

// A code with a character the settings file cannot keep is asked again,
// never stored as another character.
std::string GoodsReader::asked_code(std::string_view title, const std::string& key) {
  for (;;) {
    std::optional<std::string> typed = asker_.typed(title, "请输入宝贝代号", "");
    if (!typed || typed->empty()) return {};
    std::string refused = rt::character_settings_cannot_keep(*typed);
    if (refused.empty()) {
      if (!settings::CfgFile(settings_path_).set_item_code(key, *typed) && code_not_saved_)
        *code_not_saved_ = true;
      return *typed;
    }
    std::string text = "宝贝代号里的" + rt::quoted_character(refused) + "存不进设置文件 cfg.ini：" +
                       rt::kSettingsKeepGbk + "请换一种写法。";
    asker_.tell(text, "注意", RT_MB_ICONWARNING);
  }
}

std::string order_goods_text(std::string_view text, std::string_view settings_path,
                             view::Asker& asker, bool* code_not_saved) {
  return GoodsReader(settings_path, asker, code_not_saved).goods_text(text);
}

std::string order_number(std::string_view text) {
  constexpr size_t kShortest = 6;
  for (size_t at = 0; at < text.size(); at += rt::character_size(text, at)) {
    std::string_view rest = text.substr(at);
    size_t label = rest.starts_with("订单编号") ? 8 : rest.starts_with("订单号") ? 6 : 0;
    if (label == 0) continue;
    size_t digits = label;
    for (bool skipped = true; skipped;) {  // the colon and blanks, in any order
      skipped = false;
      for (std::string_view mark : {"：", ":", " ", "　", "\t"})
        if (rest.substr(digits).starts_with(mark)) digits += mark.size(), skipped = true;
    }
    size_t end = digits;
    while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
    if (end - digits >= kShortest) return std::string(rest.substr(digits, end - digits));
  }
  return {};
}

std::string order_summary_text(std::string_view text) {
  std::string order = rt::text_between(text, "订单编号：", "\r\n");
  rt::Text with_buyer = rt::replace_sub(order, "买家：", " __ ", 1, INT_MAX, true);
  std::string message = rt::text_between(text, "\r\n买家留言：", "\r\n");
  return std::string(rt::strip_spaces(std::string(with_buyer.view()) + "__" + message).view());
}

}  // namespace recognize
