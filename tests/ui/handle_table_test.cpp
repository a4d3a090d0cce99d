#include "ui/handle_table.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

using ui::HandleTable;

TEST(HandleTable, CapacitySequence) {
  EXPECT_EQ(ui::next_table_capacity(997), 2021u);   // 44*44 + 44 + 41 > 1994
  EXPECT_EQ(ui::next_table_capacity(2021), 4073u);  // 63*63 + 63 + 41 > 4042
  EXPECT_EQ(ui::next_table_capacity(0), 43u);
}

TEST(HandleTable, MadeOnFirstInsertionAndKeyZeroNeverStored) {
  HandleTable t;
  EXPECT_EQ(t.capacity(), 0u);
  EXPECT_EQ(t.find(5), nullptr);
  EXPECT_FALSE(t.insert(0, 1));
  EXPECT_EQ(t.capacity(), 0u);
  EXPECT_TRUE(t.insert(5, 50, 7));
  EXPECT_EQ(t.capacity(), 997u);
  EXPECT_EQ(t.find(5)->extra, 7u);
  EXPECT_TRUE(t.insert(5, 51));
  EXPECT_EQ(t.size(), 1u);
  EXPECT_EQ(t.value(5), 51u);
}

TEST(HandleTable, GrowsWhenFullAndKeepsEveryEntry) {
  HandleTable t;
  for (uintptr_t k = 1; k <= 997; ++k) t.insert(k * 997, k);  // one start slot for all
  EXPECT_EQ(t.capacity(), 997u);
  t.insert(1, 1);
  EXPECT_EQ(t.capacity(), 2021u);
  for (uintptr_t k = 1; k <= 997; ++k) EXPECT_EQ(t.value(k * 997), k);
  EXPECT_EQ(t.value(1), 1u);
}

TEST(HandleTable, RemovalKeepsProbeRunsIntact) {
  // Random insertions and removals against std::map, with colliding keys
  // and runs that wrap around the end of the table.
  HandleTable t;
  std::map<uintptr_t, uintptr_t> model;
  std::mt19937 random(42);
  for (int step = 0; step < 20000; ++step) {
    const uintptr_t offsets[] = {996, 997, 1};  // start slots 996 (wraps), 0, 1
    uintptr_t key = offsets[random() % 3] + random() % 60 * 997;
    if (random() % 3 == 0) {
      EXPECT_EQ(t.remove(key), model.erase(key) == 1);
    } else {
      t.insert(key, uintptr_t(step));
      model[key] = uintptr_t(step);
    }
    ASSERT_EQ(t.size(), model.size());
  }
  for (auto [key, value] : model) EXPECT_EQ(t.value(key), value);
  for (uintptr_t key = 1; key < 70000; key += 997)
    EXPECT_EQ(t.find(key) != nullptr, model.contains(key));
}

}  // namespace
