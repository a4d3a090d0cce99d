#include "recipient/goods.h"

#include <algorithm>

#include "recipient/characters.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

enum class Kind { title, option, quantity };

struct GoodsLabel {
  std::string_view word;
  Kind kind;
};

// Longer words first where one ends another ("颜色分类" before "分类").
constexpr GoodsLabel kLabels[] = {
    {"商品名称", Kind::title},  {"宝贝名称", Kind::title},    {"商品标题", Kind::title},
    {"宝贝标题", Kind::title},  {"货品名称", Kind::title},    {"产品名称", Kind::title},
    {"商品", Kind::title},      {"品名", Kind::title},        {"产品", Kind::title},
    {"颜色分类", Kind::option}, {"颜色", Kind::option},       {"尺码", Kind::option},
    {"鞋码", Kind::option},     {"尺寸", Kind::option},       {"规格", Kind::option},
    {"款式", Kind::option},     {"香型", Kind::option},       {"型号", Kind::option},
    {"套餐类型", Kind::option}, {"套餐", Kind::option},       {"口味", Kind::option},
    {"净含量", Kind::option},   {"容量", Kind::option},       {"版本", Kind::option},
    {"花色", Kind::option},     {"购买数量", Kind::quantity}, {"数量", Kind::quantity},
    {"件数", Kind::quantity},
};

struct Hit {
  size_t begin;  // the label's first byte
  size_t value;  // just after its colon
  const GoodsLabel* label;
};

// Where the last few characters walked start, the nearest first.
class RecentStarts {
 public:
  static constexpr size_t kSize = 8;  // a label's characters and a few blanks
  void push(size_t at) { at_[count_++ % kSize] = at; }
  size_t known() const { return std::min(count_, kSize); }
  size_t operator[](size_t back) const { return at_[(count_ - 1 - back) % kSize]; }

 private:
  size_t at_[kSize] = {};
  size_t count_ = 0;
};

// The label that ends just before the colon at `colon`, blanks between
// allowed; null when none does.
const GoodsLabel* label_before(std::string_view t, size_t colon, const RecentStarts& starts,
                               size_t& begin) {
  size_t end = colon, k = 0;
  while (k < starts.known() && t[starts[k]] == ' ' && starts[k] + 1 == end) end = starts[k++];
  for (const GoodsLabel& label : kLabels) {
    size_t characters = label.word.size() / 2;  // every label is two-byte characters
    if (k + characters > starts.known()) continue;
    size_t at = starts[k + characters - 1];
    if (end - at == label.word.size() && t.compare(at, label.word.size(), label.word) == 0) {
      begin = at;
      return &label;
    }
  }
  return nullptr;
}

// Every label with its colon, walked once: labels are found from the
// colons, and only where their characters start.
std::vector<Hit> labelled_values(std::string_view t) {
  std::vector<Hit> hits;
  if (t.find(':') == std::string_view::npos) return hits;
  RecentStarts starts;
  for (size_t at = 0; at < t.size(); at = rt::next_character(t, at)) {
    size_t begin = 0;
    if (t[at] == ':')
      if (const GoodsLabel* label = label_before(t, at, starts, begin))
        hits.push_back(Hit{begin, at + 1, label});
    starts.push(at);
  }
  return hits;
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view v) {
  while (!v.empty() && is_blank(v.front())) v.remove_prefix(1);
  while (!v.empty() && is_blank(v.back())) v.remove_suffix(1);
  return v;
}

bool masked(std::string_view v) {
  return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c == '*'; });
}

using Characters = std::vector<std::string_view>;

Characters characters_of(std::string_view v) {
  Characters out;
  for (size_t at = 0; at < v.size(); at = rt::next_character(v, at))
    out.push_back(v.substr(at, rt::character_size(v, at)));
  return out;
}

bool is_digit_character(std::string_view c) { return c.size() == 1 && is_digit(c[0]); }

std::string digits_of(const Characters& v) {
  std::string out;
  for (std::string_view c : v) {
    if (is_digit_character(c))
      out += c;
    else if (!out.empty())
      break;
  }
  return out;
}

std::string joined(const Characters& v, size_t end) {
  std::string out;
  for (size_t i = 0; i < end; ++i) out += v[i];
  return out;
}

// Takes a count written at the value's end ("×2", "x 2", "*2", "2件"),
// leaving the characters before it.
std::string take_quantity(Characters& v) {
  size_t end = v.size();
  auto skip_blanks = [&] {
    while (end > 0 && v[end - 1] == " ") --end;
  };
  bool pieces_word = end > 0 && v[end - 1] == "件";
  if (pieces_word) --end, skip_blanks();
  size_t digits = end;
  while (digits > 0 && is_digit_character(v[digits - 1])) --digits;
  if (digits == end || end - digits > 4) return {};
  std::string count;
  for (size_t i = digits; i < end; ++i) count += v[i];
  end = digits;
  skip_blanks();
  bool marked =
      end > 0 && (v[end - 1] == "×" || v[end - 1] == "x" || v[end - 1] == "X" || v[end - 1] == "*");
  if (!marked && !pieces_word) return {};
  if (marked) --end, skip_blanks();
  v.resize(end);
  return count;
}

// An option's value split where the text lists several ("白色,XL").
std::vector<std::string> option_pieces(const Characters& v) {
  std::vector<std::string> pieces;
  std::string piece;
  auto flush = [&] {
    std::string_view p = trimmed(piece);
    if (!p.empty() && !masked(p)) pieces.emplace_back(p);
    piece.clear();
  };
  for (std::string_view c : v) {
    if (c == "," || c == ";" || c == " " || c == "、")
      flush();
    else
      piece += c;
  }
  flush();
  return pieces;
}

// The value of hit `i`: up to the next label, the line's end or a tab.
std::string_view value_of(std::string_view t, const std::vector<Hit>& hits, size_t i) {
  size_t end = i + 1 < hits.size() ? hits[i + 1].begin : t.size();
  std::string_view value = t.substr(hits[i].value, end - hits[i].value);
  return trimmed(value.substr(0, value.find_first_of("\r\n\t")));
}

// Cut to at most `bytes` bytes between characters.
std::string cut(std::string_view s, size_t bytes) {
  size_t end = 0;
  while (end < s.size() && rt::next_character(s, end) <= bytes) end = rt::next_character(s, end);
  return std::string(s.substr(0, end));
}

}  // namespace

std::vector<GoodsItem> read_goods(std::string_view t) {
  std::vector<GoodsItem> items;
  GoodsItem item;
  std::vector<const GoodsLabel*> seen;
  auto next_item = [&] {
    if (!item.empty()) items.push_back(std::move(item));
    item = {};
    seen.clear();
  };
  std::vector<Hit> hits = labelled_values(t);
  for (size_t i = 0; i < hits.size(); ++i) {
    std::string_view value = value_of(t, hits, i);
    if (value.empty() || masked(value)) continue;
    Characters characters = characters_of(value);
    const GoodsLabel* label = hits[i].label;
    if (label->kind == Kind::quantity) {
      item.quantity = digits_of(characters);
      continue;
    }
    bool again = std::find(seen.begin(), seen.end(), label) != seen.end();
    if (label->kind == Kind::title || again) next_item();
    seen.push_back(label);
    std::string count = take_quantity(characters);
    if (!count.empty()) item.quantity = count;
    if (label->kind == Kind::title) {
      std::string title = joined(characters, characters.size());
      item.title = trimmed(title);
    } else {
      for (std::string& piece : option_pieces(characters)) item.options.push_back(std::move(piece));
    }
  }
  next_item();
  return items;
}

std::string goods_line(const std::vector<GoodsItem>& items, size_t bytes,
                       const std::function<std::string(std::string_view title)>& code_of) {
  constexpr std::string_view kBetweenItems = "▅";
  std::vector<std::string> heads, tails;
  size_t fixed = 0;  // bytes that are not heads
  for (const GoodsItem& item : items) {
    std::string head = code_of && !item.title.empty() ? code_of(item.title) : std::string();
    heads.push_back(head.empty() ? item.title : head);
    std::string tail;
    for (const std::string& option : item.options) tail += "_" + option;
    if (!item.quantity.empty()) tail += "×" + item.quantity;
    fixed += tail.size() + (tails.empty() ? 0 : kBetweenItems.size());
    tails.push_back(std::move(tail));
  }
  size_t all_heads = 0;
  for (const std::string& head : heads) all_heads += head.size();
  size_t head_room = fixed + all_heads <= bytes ? all_heads
                     : bytes > fixed            ? (bytes - fixed) / items.size()
                                                : 0;
  std::string line;
  for (size_t i = 0; i < items.size(); ++i) {
    std::string head = cut(heads[i], head_room < heads[i].size() ? head_room : heads[i].size());
    if (i > 0) line += kBetweenItems;
    // Options follow the title after "_"; without a title they lead.
    std::string_view tail = tails[i];
    if (head.empty() && tail.starts_with("_")) tail.remove_prefix(1);
    line += head + std::string(tail);
  }
  return cut(line, bytes);
}

}  // namespace recipient
