// The goods and the order's identity on batch and whole ship pages.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "recipient/goods.h"
#include "regex/regex_object.h"
#include "view/asker.h"

namespace recognize {

// The goods line's bytes: what one line of the waybill's goods field holds.
inline constexpr size_t kGoodsLineBytes = 32;

// Reads the goods of the orders of one recognition: the goods pattern is
// made once, and each item title's stored code is read from the settings
// once (a title asked for is read again after its code was written).
class GoodsReader {
 public:
  // `asker` asks for item codes. When writing one fails, `code_not_saved`
  // (if given) is set.
  GoodsReader(std::string_view settings_path, view::Asker& asker, bool* code_not_saved = nullptr);

  // The goods blocks of an order as "code_colour_size×count▅" pieces,
  // spaces removed. An item title seen for the first time is asked for its
  // code, which the settings keep.
  std::string goods_text(std::string_view order_text);

  // The goods of any listing (labelled title, options and count) as the
  // goods line, a title named by its stored code where it has one (none
  // is asked for); cut to kGoodsLineBytes.
  std::string listing_goods(const std::vector<recipient::GoodsItem>& items);
  std::string listing_goods(std::string_view text);

 private:
  std::string item_code(std::string_view title);
  std::string stored_code(const std::string& key);
  std::string asked_code(std::string_view title, const std::string& key);

  rx::RegexObject pattern_;
  std::string settings_path_;
  bool* code_not_saved_;
  view::Asker& asker_;
  std::unordered_map<std::string, std::string> stored_codes_;  // by settings key
};

// The goods of one order, read on their own.
std::string order_goods_text(std::string_view text, std::string_view settings_path,
                             view::Asker& asker, bool* code_not_saved = nullptr);

// The settings key of an item title. A title the settings file keeps as it
// is stays its own key, as it always was. One it would break or lose — "="
// anywhere, a leading "[" or ";", blanks at either end, a control byte, or
// the leading "%%" that marks escaped keys — is stored as "%%" and its
// percent-encoding, which holds only letters, digits and "%".
std::string item_code_key(std::string_view title);

// The order number a copied text names ("订单编号：…", "订单号 …": six or
// more digits after the label); empty when it names none.
std::string order_number(std::string_view text);

// Order number, "__", buyer account, "__", buyer message; spaces removed.
std::string order_summary_text(std::string_view text);

}  // namespace recognize
