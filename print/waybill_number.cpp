#include "print/waybill_number.h"

#include <array>

#include "runtime/text_ops.h"

namespace print {

namespace {

constexpr size_t kShortest = 8, kLongest = 20;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return c >= 'A' && c <= 'Z'; }

// Two letters, nine digits (the serial and its check digit), two letters.
bool has_s10_form(std::string_view n) {
  if (n.size() != 13) return false;
  for (size_t i = 0; i < n.size(); ++i)
    if (i < 2 || i >= 11 ? !is_letter(n[i]) : !is_digit(n[i])) return false;
  return true;
}

}  // namespace

int s10_check_digit(std::string_view serial) {
  constexpr std::array<int, 8> kWeights = {8, 6, 4, 2, 3, 5, 9, 7};
  int sum = 0;
  for (size_t i = 0; i < kWeights.size() && i < serial.size(); ++i)
    sum += (serial[i] - '0') * kWeights[i];
  int check = 11 - sum % 11;
  return check == 10 ? 0 : check == 11 ? 5 : check;
}

std::string typed_waybill_number(std::string_view typed) {
  std::string plain(rt::halfwidth(typed).view());
  std::string number;
  for (char c : plain) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    number += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
  }
  return number;
}

std::string waybill_number_problem(std::string_view number) {
  std::string shown = "运单号【" + std::string(number) + "】";
  for (char c : number)
    if (!is_digit(c) && !is_letter(c)) return shown + "只能有字母和数字，请核对是否输错或扫错";
  if (number.size() < kShortest || number.size() > kLongest)
    return shown + "有 " + std::to_string(number.size()) +
           " 位，快递单号一般是 10 到 15 位，请核对是否输错或扫错";
  if (has_s10_form(number)) {
    int check = s10_check_digit(number.substr(2, 8));
    if (number[10] - '0' != check)
      return shown + "的校验位（第 11 位）应为 " + std::to_string(check) + "，请核对是否输错或扫错";
    return {};
  }
  if (!is_digit(number.back())) return shown + "的末尾不是数字，推算不出下一张快递单的单号";
  return {};
}

std::optional<std::string> next_waybill_number(std::string_view number) {
  std::string next(number);
  if (has_s10_form(number)) {
    std::string serial = next.substr(2, 8);
    if (serial == "99999999") return std::nullopt;
    for (size_t i = serial.size(); i-- > 0;) {
      if (serial[i] != '9') {
        ++serial[i];
        break;
      }
      serial[i] = '0';
    }
    return next.substr(0, 2) + serial + char('0' + s10_check_digit(serial)) + next.substr(11);
  }
  size_t i = next.size();
  if (i == 0 || !is_digit(next[i - 1])) return std::nullopt;
  // One more on the trailing digit run, its leading zeros kept.
  while (i-- > 0 && is_digit(next[i])) {
    if (next[i] != '9') {
      ++next[i];
      return next;
    }
    next[i] = '0';
  }
  next.insert(i + 1, "1");  // every digit carried: the run grows by one
  return next;
}

}  // namespace print
