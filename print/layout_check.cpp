#include "print/layout_check.h"

#include <string_view>

namespace print {

namespace {

std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t start = 0;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 2;
  }
}

std::string named(std::string_view label) { return "【" + std::string(label) + "】"; }

bool blank(std::string_view text) { return text.find_first_not_of(" \r\n") == std::string_view::npos; }

// Items a waybill cannot go without: whom it goes to and who sends it.
bool required(std::string_view label) {
  return label == "收件人姓名" || label == "收件人地址" || label == "寄件人姓名" ||
         label == "寄件人地址";
}

// The sender needs one number, either of the two.
void check_sender_phones(const std::vector<PrintItem>& items,
                         std::vector<LayoutProblem>& problems) {
  size_t fixed = items.size(), mobile = items.size();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].label == "寄件人电话") fixed = i;
    if (items[i].label == "寄件人手机") mobile = i;
  }
  if (fixed < items.size() && mobile < items.size() && blank(items[fixed].text) &&
      blank(items[mobile].text))
    problems.push_back({mobile, named(items[mobile].label) + "和" + named(items[fixed].label) +
                                    "都为空"});
}

TextSize measured(PrintSurface& surface, const PrintItem& item, std::string_view text) {
  return surface.measure_text(text, kPrintFace, character_height(item.font_size), true);
}

void check_box(PrintSurface& surface, const PrintItem& item, size_t index,
               std::vector<LayoutProblem>& problems) {
  std::vector<std::string_view> lines = lines_of(item.text);
  int height = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    TextSize size = measured(surface, item, lines[i]);
    height += size.height;
    if (size.width > kBoxWidth)
      problems.push_back({index, named(item.label) + "第 " + std::to_string(i + 1) +
                                     " 行超出 80 毫米宽的地址框，超出的字会被截掉"});
  }
  if (height > kBoxHeight)
    problems.push_back({index, named(item.label) + "有 " + std::to_string(lines.size()) +
                                   " 行，超出 30 毫米高的地址框，下面的行会被截掉"});
}

}  // namespace

std::vector<LayoutProblem> layout_problems(PrintSurface& surface,
                                           const std::vector<PrintItem>& items) {
  std::vector<LayoutProblem> problems;
  for (size_t i = 0; i < items.size(); ++i) {
    const PrintItem& item = items[i];
    if (required(item.label) && blank(item.text))
      problems.push_back({i, named(item.label) + "为空"});
    if (item.text.empty()) continue;
    if (item.in_box)
      check_box(surface, item, i, problems);
    else if (item.x + measured(surface, item, item.text).width > kFormWidth)
      problems.push_back({i, named(item.label) + "超出快递单右边（220 毫米），超出的字会被截掉"});
  }
  check_sender_phones(items, problems);
  return problems;
}

std::string layout_question(const std::vector<LayoutProblem>& problems) {
  std::string question = "打印前检查发现：\r\n";
  for (const LayoutProblem& p : problems) question += "  · " + p.text + "\r\n";
  return question + "\r\n仍然打印吗？";
}

}  // namespace print
