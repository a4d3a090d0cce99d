#include "runtime/heap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/blocks.h"
#include "runtime/byte_buffer.h"
#include "runtime/text.h"
#include "runtime/value.h"

namespace {

const char constant_text[] = "constant";

TEST(Heap, AllocatesZeroFilledBlocksAndReleasesThem) {
  size_t before = rt_heap_live_blocks();
  auto* p = static_cast<unsigned char*>(rt_alloc(64));
  for (int i = 0; i < 64; ++i) ASSERT_EQ(p[i], 0);
  EXPECT_TRUE(rt_is_heap_block(p));
  rt_free(p);
  EXPECT_FALSE(rt_is_heap_block(p));
  EXPECT_EQ(rt_heap_live_blocks(), before);
}

TEST(Heap, FreeIgnoresWhatItDidNotHandOut) {
  size_t before = rt_heap_live_blocks();
  rt_free(nullptr);
  rt_free(reinterpret_cast<void*>(1));
  rt_free(reinterpret_cast<void*>(0xFFFF));
  rt_free(const_cast<char*>(constant_text));
  char on_stack[16] = {};
  rt_free(on_stack);
  auto* block = static_cast<char*>(rt_alloc(32));
  rt_free(block + 8);  // into the middle of a live block
  EXPECT_TRUE(rt_is_heap_block(block));
  rt_free(block);
  rt_free(block);  // stale: released already
  EXPECT_EQ(rt_heap_live_blocks(), before);
  EXPECT_STREQ(constant_text, "constant");
}

TEST(Heap, ReallocKeepsContentsAndReportsFailure) {
  auto* p = static_cast<char*>(rt_realloc(nullptr, 4));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::memcmp(p, "\0\0\0\0", 4), 0);
  std::memcpy(p, "abc", 4);
  p = static_cast<char*>(rt_realloc(p, 4096));
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p, "abc");

  rt_heap_fail_next(1);
  EXPECT_EQ(rt_realloc(p, 1 << 20), nullptr);
  EXPECT_TRUE(rt_is_heap_block(p));  // the old block stays valid
  EXPECT_STREQ(p, "abc");
  rt_free(p);
}

TEST(TextBlocks, EmptyIsNullAndOneCharacterTakesTwoBytes) {
  EXPECT_EQ(rt_text_make(""), nullptr);
  char* one = rt_text_make("a");
  EXPECT_EQ(rt_heap_block_size(one), 2u);
  EXPECT_STREQ(one, "a");
  rt_free(one);
  rt::Text t("中文");
  EXPECT_EQ(rt_heap_block_size(t.block()), 5u);
  EXPECT_EQ(rt_text_view(nullptr), "");
}

TEST(ByteBuffer, AppendsAndIgnoresEmptyPieces) {
  ByteBuffer b;
  EXPECT_TRUE(b.append("abc", 3));
  EXPECT_TRUE(b.append("xyz", 0));
  EXPECT_TRUE(b.append("xyz", -5));
  EXPECT_TRUE(b.append(nullptr, 10));
  EXPECT_EQ(std::string_view(b.data(), b.size()), "abc");
  EXPECT_EQ(b.capacity(), 3u + 128u);  // first allocation: requested size plus 128

  const void* p = &b;
  EXPECT_TRUE(b.append_pointer(p));
  const void* back;
  std::memcpy(&back, b.data() + 3, sizeof back);
  EXPECT_EQ(back, p);
}

TEST(ByteBuffer, FailedGrowthLeavesTheBufferAsItWas) {
  ByteBuffer b;
  ASSERT_TRUE(b.append("abc", 3));
  std::string big(1000, 'x');
  rt_heap_fail_next(1);
  EXPECT_FALSE(b.append(big));
  EXPECT_EQ(std::string_view(b.data(), b.size()), "abc");
  EXPECT_TRUE(b.append(big));
  EXPECT_EQ(b.size(), 1003u);
}

TEST(ByteBuffer, GrowsGeometrically) {
  ByteBuffer b;
  int reallocations = 0;
  size_t capacity = 0;
  for (int i = 0; i < 100000; ++i) {
    ASSERT_TRUE(b.append("0123456789", 10));
    if (b.capacity() != capacity) ++reallocations, capacity = b.capacity();
  }
  EXPECT_LT(reallocations, 40);
}

TEST(Arrays, LayoutOfByteSetsAndArrays) {
  void* set = rt_byte_set_make("ab", 2);
  int32_t header[2];
  std::memcpy(header, set, sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 2);
  EXPECT_EQ(rt_heap_block_size(set), 10u);
  EXPECT_EQ(rt_byte_set_make("", 0), nullptr);
  rt_free(set);

  const int32_t sizes[] = {2, 3};
  void* grid = rt_array_new(sizes, 4);
  EXPECT_EQ(rt_array_dimensions(grid), 2);
  EXPECT_EQ(rt_array_dimension_size(grid, 2), 3);
  EXPECT_EQ(rt_array_count(grid), 6u);
  EXPECT_EQ(rt_heap_block_size(grid), 4u + 8u + 24u);
  rt_array_free(grid, false);
}

TEST(Arrays, ReleasingAnArrayOfTextsReleasesItsElements) {
  size_t before = rt_heap_live_blocks();
  const int32_t sizes[] = {3};
  void* array = rt_array_new(sizes, sizeof(void*));
  rt_array_set_pointer(array, 0, rt_text_make("one"));
  rt_array_set_pointer(array, 2, rt_text_make("three"));  // element 2 stays null
  rt_array_free(array, true);
  EXPECT_EQ(rt_heap_live_blocks(), before);
}

// A constant array as the program image would hold it: k, size, elements.
const int32_t constant_array[] = {1, 3, 10, 20, 30};

TEST(Arrays, OwningAConstantArrayCopiesIt) {
  void* variable = const_cast<int32_t*>(constant_array);
  rt_own_array(4, &variable);
  ASSERT_NE(variable, static_cast<const void*>(constant_array));
  ASSERT_TRUE(rt_is_heap_block(variable));
  int32_t changed = 99;
  std::memcpy(rt_array_at(variable, 2, 4), &changed, 4);
  EXPECT_EQ(constant_array[3], 20);

  void* owned = variable;
  rt_own_array(4, &variable);  // already a heap block: kept
  EXPECT_EQ(variable, owned);
  int32_t second;
  std::memcpy(&second, rt_array_at(variable, 2, 4), 4);
  EXPECT_EQ(second, 99);
  rt_array_free(variable, false);
}

}  // namespace
