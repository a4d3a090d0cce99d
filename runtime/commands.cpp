#include "runtime/commands.h"

#include <optional>
#include <string_view>
#include <vector>

#include "runtime/blocks.h"
#include "runtime/bytes.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/text_ops.h"

namespace {

bool is_number_type(uint32_t type) {
  switch (type) {
    case RT_BYTE:
    case RT_SHORT:
    case RT_INT:
    case RT_INT64:
    case RT_FLOAT:
    case RT_DOUBLE:
    case RT_SUBROUTINE: return true;
    default: return false;
  }
}

// Reads the arguments of one command call.
class Args {
 public:
  Args(int count, const RtArg* args) : count_(args ? count : 0), args_(args) {}

  int count() const { return count_ < 0 ? 0 : count_; }
  bool given(int i) const { return i < count() && args_[i].type != RT_OMITTED; }

  // A flag is read by its value alone, so a left-out flag is false.
  bool flag(int i) const { return i < count() && args_[i].value != 0; }

  std::string_view text(int i) const {
    if (!given(i)) return {};
    const RtArg& a = args_[i];
    if (a.type == RT_TEXT) return rt_text_view(static_cast<const char*>(rt_arg_pointer(a)));
    if (a.type == (RT_TEXT | RT_BY_REF)) {
      auto* variable = static_cast<char* const*>(rt_arg_pointer(a));
      return rt_text_view(variable ? *variable : nullptr);
    }
    rt_raise(11);
  }

  int32_t integer(int i) const { return given(i) ? rt::to_int(number_arg(i)) : 0; }
  double number(int i) const { return given(i) ? rt::to_number(number_arg(i)) : 0; }
  std::optional<int32_t> optional_integer(int i) const {
    return given(i) ? std::optional<int32_t>(integer(i)) : std::nullopt;
  }

  const void* bytes(int i) const {
    if (!given(i)) return nullptr;
    if (args_[i].type != RT_BYTES) rt_raise(11);
    return rt_arg_pointer(args_[i]);
  }

  const RtArg& raw(int i) const { return args_[i]; }

  std::vector<int32_t> integers() const {
    std::vector<int32_t> values;
    for (int i = 0; i < count(); ++i) values.push_back(integer(i));
    return values;
  }

  std::vector<double> numbers() const {
    std::vector<double> values;
    for (int i = 0; i < count(); ++i) values.push_back(number(i));
    return values;
  }

 private:
  const RtArg& number_arg(int i) const {
    if (!is_number_type(args_[i].type)) rt_raise(2);
    return args_[i];
  }

  int count_;
  const RtArg* args_;
};

}  // namespace

int32_t rt_text_len(int count, const RtArg* args) {
  return rt::text_len(Args(count, args).text(0));
}

char* rt_left(int count, const RtArg* args) {
  Args a(count, args);
  return rt::left(a.text(0), a.integer(1)).release();
}

char* rt_right(int count, const RtArg* args) {
  Args a(count, args);
  return rt::right(a.text(0), a.integer(1)).release();
}

char* rt_mid(int count, const RtArg* args) {
  Args a(count, args);
  return rt::mid(a.text(0), a.integer(1), a.integer(2)).release();
}

int32_t rt_find(int count, const RtArg* args) {
  Args a(count, args);
  return rt::find(a.text(0), a.text(1), a.integer(2), a.flag(3));
}

int32_t rt_find_last(int count, const RtArg* args) {
  Args a(count, args);
  return rt::find_last(a.text(0), a.text(1), a.integer(2), a.flag(3));
}

char* rt_replace_range(int count, const RtArg* args) {
  Args a(count, args);
  return rt::replace_range(a.text(0), a.integer(1), a.integer(2), a.text(3)).release();
}

char* rt_replace_sub(int count, const RtArg* args) {
  Args a(count, args);
  return rt::replace_sub(a.text(0), a.text(1), a.text(2), a.optional_integer(3).value_or(1),
                         a.optional_integer(4).value_or(INT32_MAX), a.flag(5))
      .release();
}

void* rt_split(int count, const RtArg* args) {
  Args a(count, args);
  return rt::split(a.text(0), a.given(1) ? a.text(1) : ",", a.optional_integer(2)).release();
}

char* rt_trim_start(int count, const RtArg* args) {
  return rt::trim_start(Args(count, args).text(0)).release();
}
char* rt_trim(int count, const RtArg* args) {
  return rt::trim(Args(count, args).text(0)).release();
}
char* rt_strip_spaces(int count, const RtArg* args) {
  return rt::strip_spaces(Args(count, args).text(0)).release();
}
char* rt_upper(int count, const RtArg* args) {
  return rt::upper(Args(count, args).text(0)).release();
}
char* rt_lower(int count, const RtArg* args) {
  return rt::lower(Args(count, args).text(0)).release();
}
char* rt_fullwidth(int count, const RtArg* args) {
  return rt::fullwidth(Args(count, args).text(0)).release();
}
char* rt_halfwidth(int count, const RtArg* args) {
  return rt::halfwidth(Args(count, args).text(0)).release();
}

int32_t rt_compare(int count, const RtArg* args) {
  Args a(count, args);
  return rt::compare(a.text(0), a.text(1), a.flag(2));
}

char* rt_spaces(int count, const RtArg* args) {
  return rt::spaces(Args(count, args).integer(0)).release();
}

int32_t rt_code_at(int count, const RtArg* args) {
  Args a(count, args);
  return rt::code_at(a.text(0), a.optional_integer(1));
}

char* rt_char(int count, const RtArg* args) {
  return rt::char_of(Args(count, args).integer(0)).release();
}
char* rt_hex(int count, const RtArg* args) {
  return rt::hex(Args(count, args).integer(0)).release();
}

char* rt_to_text(int count, const RtArg* args) {
  Args a(count, args);
  return a.given(0) ? rt::to_text(a.raw(0)).release() : nullptr;
}

int32_t rt_to_int(int count, const RtArg* args) {
  Args a(count, args);
  return a.given(0) ? rt::to_int(a.raw(0)) : 0;
}

double rt_to_number(int count, const RtArg* args) {
  Args a(count, args);
  return a.given(0) ? rt::to_number(a.raw(0)) : 0;
}

char* rt_date_text(int count, const RtArg* args) {
  Args a(count, args);
  double date = a.given(0) && a.raw(0).type == RT_DATETIME ? rt_arg_double(a.raw(0)) : a.number(0);
  return rt::date_text(date, a.flag(1)).release();
}

void* rt_zero_bytes(int count, const RtArg* args) {
  return rt::zero_bytes(Args(count, args).integer(0)).release();
}

void* rt_bytes_left(int count, const RtArg* args) {
  Args a(count, args);
  return rt::bytes_left(a.bytes(0), a.integer(1)).release();
}

void* rt_bytes_from_memory(int count, const RtArg* args) {
  Args a(count, args);
  const void* address = a.given(0) ? rt_arg_pointer(a.raw(0)) : nullptr;
  return rt::bytes_from_memory(address, a.integer(1)).release();
}

int32_t rt_bytes_size(int count, const RtArg* args) {
  return int32_t(rt_byte_set_size(Args(count, args).bytes(0)));
}

RtArg rt_bytes_read(int count, const RtArg* args) {
  Args a(count, args);
  const void* bytes = a.bytes(0);
  int type_code = a.integer(1);
  if (a.given(2) && a.raw(2).type == (RT_INT | RT_BY_REF)) {
    auto* position = static_cast<int32_t*>(rt_arg_pointer(a.raw(2)));
    if (!position) return rt::bytes_read(bytes, type_code, 1);
    return rt::bytes_read(bytes, type_code, *position, position);
  }
  return rt::bytes_read(bytes, type_code, a.optional_integer(2).value_or(1));
}

void rt_write_memory(int count, const RtArg* args) {
  Args a(count, args);
  if (!a.given(0) || !a.given(1)) return;
  rt::write_memory(a.raw(0), rt_arg_pointer(a.raw(1)), a.optional_integer(2));
}

char* rt_text_copy(int count, const RtArg* args) { return rt_text_make(Args(count, args).text(0)); }

int32_t rt_bit_or(int count, const RtArg* args) { return rt::bit_or(Args(count, args).integers()); }
int32_t rt_bit_and(int count, const RtArg* args) {
  return rt::bit_and(Args(count, args).integers());
}
int32_t rt_bit_not(int count, const RtArg* args) {
  return rt::bit_not(Args(count, args).integer(0));
}

int32_t rt_shift_right(int count, const RtArg* args) {
  Args a(count, args);
  return rt::shift_right(a.integer(0), a.integer(1));
}

int32_t rt_make_long(int count, const RtArg* args) {
  Args a(count, args);
  return rt::make_long(a.integer(0), a.integer(1));
}

double rt_abs(int count, const RtArg* args) { return rt::abs(Args(count, args).number(0)); }
double rt_remainder(int count, const RtArg* args) {
  return rt::remainder(Args(count, args).numbers());
}
