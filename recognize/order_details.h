// The goods and the order's identity on batch and whole ship pages.
#pragma once

#include <string>
#include <string_view>

namespace recognize {

// The goods blocks of an order as "code_colour_size×count▅" pieces, spaces
// removed. An item title seen for the first time is asked for its code,
// which is kept in section "baobeibiaotidaihao" of the settings file.
std::string order_goods_text(std::string_view text, std::string_view settings_path);

// Order number, "__", buyer account, "__", buyer message; spaces removed.
std::string order_summary_text(std::string_view text);

}  // namespace recognize
