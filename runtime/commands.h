// The runtime's text, conversion, byte-set and bit operations as commands:
// the number of arguments, then one argument triple per argument (type flag
// 0 for a left-out optional one). Each forwards to the typed operation in
// text_ops.h, convert.h or bytes.h. Texts, byte sets and arrays returned are
// new blocks owned by the caller; the empty text and byte set are null.
//
// A text parameter given a value of another kind raises runtime error 11; a
// number parameter given something that is not a number raises error 2.
#pragma once

#include <cstdint>

#include "runtime/value.h"

int32_t rt_text_len(int count, const RtArg* args);
char* rt_left(int count, const RtArg* args);
char* rt_right(int count, const RtArg* args);
char* rt_mid(int count, const RtArg* args);
int32_t rt_find(int count, const RtArg* args);
int32_t rt_find_last(int count, const RtArg* args);
char* rt_replace_range(int count, const RtArg* args);
char* rt_replace_sub(int count, const RtArg* args);
void* rt_split(int count, const RtArg* args);
char* rt_trim_start(int count, const RtArg* args);
char* rt_trim(int count, const RtArg* args);
char* rt_strip_spaces(int count, const RtArg* args);
char* rt_upper(int count, const RtArg* args);
char* rt_lower(int count, const RtArg* args);
char* rt_fullwidth(int count, const RtArg* args);
char* rt_halfwidth(int count, const RtArg* args);
int32_t rt_compare(int count, const RtArg* args);
char* rt_spaces(int count, const RtArg* args);
int32_t rt_code_at(int count, const RtArg* args);
char* rt_char(int count, const RtArg* args);
char* rt_hex(int count, const RtArg* args);

char* rt_to_text(int count, const RtArg* args);
int32_t rt_to_int(int count, const RtArg* args);
double rt_to_number(int count, const RtArg* args);
char* rt_date_text(int count, const RtArg* args);

void* rt_zero_bytes(int count, const RtArg* args);
void* rt_bytes_left(int count, const RtArg* args);
void* rt_bytes_from_memory(int count, const RtArg* args);
int32_t rt_bytes_size(int count, const RtArg* args);
RtArg rt_bytes_read(int count, const RtArg* args);
void rt_write_memory(int count, const RtArg* args);
char* rt_text_copy(int count, const RtArg* args);
int32_t rt_bit_or(int count, const RtArg* args);
int32_t rt_bit_and(int count, const RtArg* args);
int32_t rt_bit_not(int count, const RtArg* args);
int32_t rt_shift_right(int count, const RtArg* args);
int32_t rt_make_long(int count, const RtArg* args);
double rt_abs(int count, const RtArg* args);
double rt_remainder(int count, const RtArg* args);
