// Field labels in copied recipient text ("收货人:", "手机号码", "详细地址：").
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace recipient {

// remark: the buyer's note (备注, 留言), which reaches the rest of its line.
enum class Field { none, name, phone, address, postcode, other, remark };

struct Label {
  size_t at = 0;  // where the label was
  Field field = Field::none;
  size_t end = 0;  // where it ended, its colon included
};

// Finds the labels in `s` (simplified, half-width) and blanks them out in
// `t` and `s`. Words that are labels only sometimes ("电话", "地址") count
// at the start of a piece, before a colon or before a number.
std::vector<Label> take_labels(std::string& t, std::string& s);

}  // namespace recipient
