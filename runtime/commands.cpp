#include "runtime/commands.h"

#include <optional>
#include <string_view>
#include <vector>

#include "runtime/blocks.h"
#include "runtime/bytes.h"
#include "runtime/command_args.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/text_ops.h"

int32_t rt_text_len(int count, const RtArg* args) {
  return rt::text_len(CommandArgs(count, args).text(0));
}

char* rt_left(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::left(a.text(0), a.integer(1)).release();
}

char* rt_right(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::right(a.text(0), a.integer(1)).release();
}

char* rt_mid(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::mid(a.text(0), a.integer(1), a.integer(2)).release();
}

int32_t rt_find(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::find(a.text(0), a.text(1), a.integer(2), a.flag(3));
}

int32_t rt_find_last(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::find_last(a.text(0), a.text(1), a.integer(2), a.flag(3));
}

char* rt_replace_range(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::replace_range(a.text(0), a.integer(1), a.integer(2), a.text(3)).release();
}

char* rt_replace_sub(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::replace_sub(a.text(0), a.text(1), a.text(2), a.optional_integer(3).value_or(1),
                         a.optional_integer(4).value_or(INT32_MAX), a.flag(5))
      .release();
}

void* rt_split(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::split(a.text(0), a.given(1) ? a.text(1) : ",", a.optional_integer(2)).release();
}

char* rt_trim_start(int count, const RtArg* args) {
  return rt::trim_start(CommandArgs(count, args).text(0)).release();
}
char* rt_trim(int count, const RtArg* args) {
  return rt::trim(CommandArgs(count, args).text(0)).release();
}
char* rt_strip_spaces(int count, const RtArg* args) {
  return rt::strip_spaces(CommandArgs(count, args).text(0)).release();
}
char* rt_upper(int count, const RtArg* args) {
  return rt::upper(CommandArgs(count, args).text(0)).release();
}
char* rt_lower(int count, const RtArg* args) {
  return rt::lower(CommandArgs(count, args).text(0)).release();
}
char* rt_fullwidth(int count, const RtArg* args) {
  return rt::fullwidth(CommandArgs(count, args).text(0)).release();
}
char* rt_halfwidth(int count, const RtArg* args) {
  return rt::halfwidth(CommandArgs(count, args).text(0)).release();
}

int32_t rt_compare(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::compare(a.text(0), a.text(1), a.flag(2));
}

char* rt_spaces(int count, const RtArg* args) {
  return rt::spaces(CommandArgs(count, args).integer(0)).release();
}

int32_t rt_code_at(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::code_at(a.text(0), a.optional_integer(1));
}

char* rt_char(int count, const RtArg* args) {
  return rt::char_of(CommandArgs(count, args).integer(0)).release();
}
char* rt_hex(int count, const RtArg* args) {
  return rt::hex(CommandArgs(count, args).integer(0)).release();
}

char* rt_to_text(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return a.given(0) ? rt::to_text(a.raw(0)).release() : nullptr;
}

int32_t rt_to_int(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return a.given(0) ? rt::to_int(a.raw(0)) : 0;
}

double rt_to_number(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return a.given(0) ? rt::to_number(a.raw(0)) : 0;
}

char* rt_date_text(int count, const RtArg* args) {
  CommandArgs a(count, args);
  double date = a.given(0) && a.raw(0).type == RT_DATETIME ? rt_arg_double(a.raw(0)) : a.number(0);
  return rt::date_text(date, a.flag(1)).release();
}

void* rt_zero_bytes(int count, const RtArg* args) {
  return rt::zero_bytes(CommandArgs(count, args).integer(0)).release();
}

void* rt_bytes_left(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::bytes_left(a.bytes(0), a.integer(1)).release();
}

void* rt_bytes_from_memory(int count, const RtArg* args) {
  CommandArgs a(count, args);
  const void* address = a.given(0) ? rt_arg_pointer(a.raw(0)) : nullptr;
  return rt::bytes_from_memory(address, a.integer(1)).release();
}

int32_t rt_bytes_size(int count, const RtArg* args) {
  return int32_t(rt_byte_set_size(CommandArgs(count, args).bytes(0)));
}

RtArg rt_bytes_read(int count, const RtArg* args) {
  CommandArgs a(count, args);
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
  CommandArgs a(count, args);
  if (!a.given(0) || !a.given(1)) return;
  rt::write_memory(a.raw(0), rt_arg_pointer(a.raw(1)), a.optional_integer(2));
}

char* rt_text_copy(int count, const RtArg* args) {
  return rt_text_make(CommandArgs(count, args).text(0));
}

int32_t rt_bit_or(int count, const RtArg* args) {
  return rt::bit_or(CommandArgs(count, args).integers());
}
int32_t rt_bit_and(int count, const RtArg* args) {
  return rt::bit_and(CommandArgs(count, args).integers());
}
int32_t rt_bit_not(int count, const RtArg* args) {
  return rt::bit_not(CommandArgs(count, args).integer(0));
}

int32_t rt_shift_right(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::shift_right(a.integer(0), a.integer(1));
}

int32_t rt_make_long(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::make_long(a.integer(0), a.integer(1));
}

double rt_abs(int count, const RtArg* args) { return rt::abs(CommandArgs(count, args).number(0)); }
double rt_remainder(int count, const RtArg* args) {
  return rt::remainder(CommandArgs(count, args).numbers());
}
