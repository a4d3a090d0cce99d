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

// How far down a box's lines may go: to the box's bottom, or to the top of
// the first other item printed inside the box below its first line (the
// phones below an address), which longer text would print over. An item
// beside the first line is where the template put it, whatever the text.
struct Room {
  int height = kBoxHeight;
  const PrintItem* below = nullptr;
};

Room room_of(const std::vector<PrintItem>& items, size_t index, int line_height) {
  const PrintItem& box = items[index];
  Room room;
  for (size_t i = 0; i < items.size(); ++i) {
    const PrintItem& other = items[i];
    if (i == index || blank(other.text) || other.x < box.x || other.x >= box.x + kBoxWidth ||
        other.y - box.y < line_height || other.y - box.y >= room.height)
      continue;
    room = {other.y - box.y, &other};
  }
  return room;
}

}  // namespace

std::vector<LayoutProblem> fit_problems(PrintSurface& surface, const std::vector<PrintItem>& items,
                                        size_t index) {
  const PrintItem& item = items[index];
  std::vector<LayoutProblem> problems;
  if (item.text.empty()) return problems;
  if (!item.in_box) {
    if (item.x + measured(surface, item, item.text).width > kFormWidth)
      problems.push_back({index, named(item.label) + "超出快递单右边（220 毫米），超出的字会被截掉"});
    return problems;
  }
  std::vector<std::string_view> lines = lines_of(item.text);
  std::vector<TextSize> sizes;
  for (std::string_view line : lines) sizes.push_back(measured(surface, item, line));
  Room room = room_of(items, index, sizes[0].height);
  int height = 0;
  size_t first_past = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const TextSize& size = sizes[i];
    height += size.height;
    if (height > room.height && first_past == 0) first_past = i + 1;
    if (size.width > kBoxWidth)
      problems.push_back({index, named(item.label) + "第 " + std::to_string(i + 1) +
                                     " 行超出 80 毫米宽的地址框，超出的字会被截掉"});
  }
  std::string lines_count = std::to_string(lines.size()) + " 行，";
  if (first_past && room.below)
    problems.push_back({index, named(item.label) + "在快递单上要 " + lines_count + "第 " +
                                   std::to_string(first_past) + " 行起会压在" +
                                   named(room.below->label) + "上"});
  else if (first_past)
    problems.push_back({index, named(item.label) + "有 " + lines_count +
                                   "超出 30 毫米高的地址框，下面的行会被截掉"});
  return problems;
}

std::vector<LayoutProblem> layout_problems(PrintSurface& surface,
                                           const std::vector<PrintItem>& items) {
  std::vector<LayoutProblem> problems;
  for (size_t i = 0; i < items.size(); ++i) {
    if (required(items[i].label) && blank(items[i].text))
      problems.push_back({i, named(items[i].label) + "为空"});
    std::vector<LayoutProblem> fit = fit_problems(surface, items, i);
    problems.insert(problems.end(), fit.begin(), fit.end());
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
