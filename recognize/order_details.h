// The goods and the order's identity on batch and whole ship pages.
#pragma once

#include <string>
#include <string_view>

namespace recognize {

// The goods blocks of an order as "code_colour_size×count▅" pieces, spaces
// removed. An item title seen for the first time is asked for its code,
// which is kept in section "baobeibiaotidaihao" of the settings file; when
// that write fails, `code_not_saved` (if given) is set.
std::string order_goods_text(std::string_view text, std::string_view settings_path,
                             bool* code_not_saved = nullptr);

// The settings key of an item title. A title the settings file keeps as it
// is stays its own key, as it always was. One it would break or lose — "="
// anywhere, a leading "[" or ";", blanks at either end, a control byte, or
// the leading "%%" that marks escaped keys — is stored as "%%" and its
// percent-encoding, which holds only letters, digits and "%".
std::string item_code_key(std::string_view title);

// Order number, "__", buyer account, "__", buyer message; spaces removed.
std::string order_summary_text(std::string_view text);

}  // namespace recognize
