#include "runtime/bytes.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/blocks.h"
#include "runtime/heap.h"
#include "runtime/text.h"

namespace {

using namespace rt;

TEST(Bytes, MakingAndCutting) {
  Bytes zeros = zero_bytes(3);
  EXPECT_EQ(zeros.view(), std::string_view("\0\0\0", 3));
  EXPECT_EQ(zero_bytes(0).block(), nullptr);
  Bytes abc = Bytes::copy_of("abc");
  EXPECT_EQ(bytes_left(abc.block(), 2).view(), "ab");
  EXPECT_EQ(bytes_left(abc.block(), 9).view(), "abc");
  EXPECT_EQ(bytes_left(abc.block(), 0).block(), nullptr);
  EXPECT_EQ(bytes_left(nullptr, 3).block(), nullptr);
}

TEST(Bytes, FromMemoryRefusesWhatCannotBeRead) {
  const char source[] = "memory";
  EXPECT_EQ(bytes_from_memory(source, 3).view(), "mem");
  EXPECT_EQ(bytes_from_memory(source, 0).block(), nullptr);
  EXPECT_EQ(bytes_from_memory(nullptr, 4).block(), nullptr);
  EXPECT_EQ(bytes_from_memory(reinterpret_cast<void*>(16), 4).block(), nullptr);
}

TEST(Bytes, ReadValuesOfEachKind) {
  const unsigned char raw[] = {0x01, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x00, 'h', 'i', 0, 'x'};
  Bytes b = Bytes::copy_of({reinterpret_cast<const char*>(raw), sizeof raw});
  EXPECT_EQ(bytes_read(b.block(), 1, 1).value, 1u);
  RtArg s = bytes_read(b.block(), 2, 2);
  EXPECT_EQ(s.type, RT_SHORT);
  EXPECT_EQ(int16_t(s.value), -1);
  EXPECT_EQ(bytes_read(b.block(), 3, 4).value, 0x1234u);

  int next = 0;
  RtArg text = bytes_read(b.block(), 10, 8, &next);
  EXPECT_EQ(Text::adopt(static_cast<char*>(rt_arg_pointer(text))), "hi");
  EXPECT_EQ(next, 11);
  // No zero byte after "x": the text runs to the end, and so did the read.
  text = bytes_read(b.block(), 10, 11, &next);
  EXPECT_EQ(Text::adopt(static_cast<char*>(rt_arg_pointer(text))), "x");
  EXPECT_EQ(next, -1);
  // An int at the last byte: the missing bytes read as zero.
  EXPECT_EQ(bytes_read(b.block(), 3, 11, &next).value, uint32_t('x'));
  EXPECT_EQ(next, -1);
  EXPECT_EQ(bytes_read(b.block(), 3, 12, &next).value, 0u);
  EXPECT_EQ(next, -1);
}

TEST(Bytes, WriteMemoryCopiesEachKind) {
  char out[8];
  std::memset(out, '.', sizeof out);
  write_memory(rt_text_arg("ab"), out);
  EXPECT_EQ(std::memcmp(out, "ab\0.", 4), 0);
  std::memset(out, '.', sizeof out);
  write_memory(rt_text_arg("abcdef"), out, 3);
  EXPECT_EQ(std::memcmp(out, "abc.", 4), 0);
  std::memset(out, '.', sizeof out);
  write_memory(rt_int_arg(0x41424344), out);
  EXPECT_EQ(std::memcmp(out, "DCBA.", 5), 0);
  std::memset(out, '.', sizeof out);
  write_memory(rt_text_arg(nullptr), out);
  write_memory(RtArg{1, 0, 0x1234}, out);
  write_memory(rt_int_arg(1), nullptr);
  EXPECT_EQ(out[0], '.');
  Bytes set = Bytes::copy_of("xyz");
  write_memory(rt_pointer_arg(set.block(), RT_BYTES), out, 99);
  EXPECT_EQ(std::memcmp(out, "xyz.", 4), 0);
}

TEST(Bits, Operations) {
  const int32_t values[] = {1, 2, 4};
  EXPECT_EQ(bit_or(values), 7);
  const int32_t masks[] = {7, 6, 12};
  EXPECT_EQ(bit_and(masks), 4);
  EXPECT_EQ(bit_not(0), -1);
  EXPECT_EQ(shift_right(-16, 2), -4);
  EXPECT_EQ(shift_right(16, 33), 8);  // count mod 32
  EXPECT_EQ(make_long(0x12345678, 0x0000ABCD), int32_t(0xABCD5678));
  EXPECT_DOUBLE_EQ(rt::abs(-2.5), 2.5);
  const double chain[] = {-17, 5, 1.5};
  EXPECT_DOUBLE_EQ(remainder(chain), -0.5);  // -17 mod 5 = -2, -2 mod 1.5 = -0.5
}

}  // namespace
