// The goods a copied order names: the listing's title, its options
// (colour, size, scent, model, set…) and the quantity, from labelled
// lines of any marketplace's page, a chat or a spreadsheet's columns.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace recipient {

struct GoodsItem {
  std::string title;                 // the listing's title as written; may be empty
  std::vector<std::string> options;  // in the text's order
  std::string quantity;              // digits; empty when the text gives none

  bool empty() const { return title.empty() && options.empty(); }
};

// The goods of a text whose full-width marks were made ASCII ("：" is
// ":"). Only labelled values count ("颜色分类：白色", "数量：2"); a
// label needs its colon, so an address's 商品房 or 型号 is never goods.
// A title, or an option label seen twice, starts the next item.
std::vector<GoodsItem> read_goods(std::string_view text);

// The goods as one line of at most `bytes` bytes, cut only between
// characters: "title_option_option×2", items joined by "▅". `code_of`
// (if given) names a title by the seller's own item code, empty for none.
// A long title is shortened first, so the options and the count stay.
std::string goods_line(const std::vector<GoodsItem>& items, size_t bytes,
                       const std::function<std::string(std::string_view title)>& code_of = {});

}  // namespace recipient
