// The print history read from the log: damaged lines, the recipient key,
// incremental reading.
#include "print/history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using print::History;
using print::parse_history_line;

TEST(HistoryLine, SixFieldsWithAGoodDateAndWholeCharacters) {
  auto e = parse_history_line("2026.12.8；张三；浙江省杭州市西湖区；13812345678；0571-1；A1_黑色_40×2▅");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->date(), "2026.12.8");
  EXPECT_EQ(e->day - print::day_number(2026, 12, 5), 3);
  EXPECT_EQ(e->address(), "浙江省杭州市西湖区");
  EXPECT_EQ(e->goods(), "A1_黑色_40×2▅");
  // The goods keep a separator of their own; empty fields are fields.
  EXPECT_EQ(parse_history_line("2026.1.2；甲；；；；a；b")->goods(), "a；b");
  // An older version's goods with code page 936's euro sign are a line too.
  EXPECT_EQ(parse_history_line("2026.1.2；甲；乙；1；；单价\x80" "5")->goods(), "单价\x80" "5");
  for (std::string damaged : {std::string("2026.12.8；张三；地址；138"),  // fields missing
                              std::string("昨天；张三；地址；138；；货"),  // no date
                              std::string("2026.13.8；张三；地址；138；；货"),
                              std::string("2026.12.8；张三；地址；138；；货\xB0"),  // cut character
                              std::string("2026.12.8；张三；") + std::string(5000, 'x') + "；；；"})
    EXPECT_FALSE(parse_history_line(damaged)) << damaged;
  EXPECT_EQ(print::day_number(1899, 12, 30), 0);
  EXPECT_EQ(print::day_number(1970, 1, 1), 25569);
}

// What a buyer typed never shifts the fields: a "；" outside the goods is
// kept as "，", line breaks are left out; the goods keep theirs.
TEST(HistoryLine, EveryWaybillReadsBackAsItsSixFields) {
  print::WaybillTexts t;
  t.date = "2026.12.8";
  t.parcel.name = "张三；李四";
  t.parcel.address = "浙江省杭州市\r\n西湖区；文三路\n1号";
  t.parcel.mobile = "13812345678";
  t.parcel.goods = "A1；B2\r\n";
  std::string line = print::log_line(t);
  EXPECT_EQ(line, "2026.12.8；张三，李四；浙江省杭州市西湖区，文三路1号；13812345678；；A1；B2");
  auto e = parse_history_line(line);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->mobile(), "13812345678");
  EXPECT_EQ(e->goods(), "A1；B2");
  // A line longer than any waybill makes is read on its first 4,096 bytes.
  t.parcel.goods.clear();
  std::string filler(4095 - print::log_line(t).size(), 'x');
  t.parcel.goods = filler + "▅" + std::string(2000, 'y');
  e = parse_history_line(print::log_line(t));
  ASSERT_TRUE(e);
  EXPECT_EQ(e->goods(), filler);  // the character across byte 4,096 left out whole
}

TEST(HistoryLine, TextIsSoughtCharacterByCharacter) {
  EXPECT_FALSE(print::contains_text("區", "^"));  // 區 is 85 5E
  EXPECT_TRUE(print::contains_text("區^", "^"));
  EXPECT_TRUE(print::contains_text("2026.12.8；张三", "张三"));
  EXPECT_TRUE(print::contains_text("abc", ""));
}

class HistoryFile : public testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("slipjet-history-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              ".txt"))
                .string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void append(const std::string& bytes) { std::ofstream(path_, std::ios::binary | std::ios::app) << bytes; }
  print::WaybillTexts texts(std::string goods = "A1▅") {
    print::WaybillTexts t;
    t.parcel.name = "张三";
    t.parcel.mobile = "13812345678";
    t.parcel.address = "浙江省杭州市\r\n西湖区 文三路";
    t.parcel.goods = std::move(goods);
    return t;
  }
  std::string path_;
};

TEST_F(HistoryFile, TheSameRecipientAndGoodsAreFoundWithinTheDays) {
  append("2026.12.1；张三；浙江省杭州市西湖区文三路；13812345678；；A1▅\r\n"
         "damaged line\r\n"
         "2026.12.6；张三；浙江省杭州市西湖区文三路；13812345678；；A1▅\r\n"
         "2026.12.7；张三；浙江省杭州市西湖区文三路；13812345678；；B2▅\r\n");
  History h(path_);
  h.refresh();
  EXPECT_EQ(h.entries().size(), 3u);  // the damaged line skipped
  const print::HistoryEntry* found = h.find(texts(), print::day_number(2026, 12, 5));
  ASSERT_TRUE(found);
  EXPECT_EQ(found->date(), "2026.12.6");  // the latest
  EXPECT_FALSE(h.find(texts(), print::day_number(2026, 12, 7)));
  EXPECT_EQ(h.find(texts("B2▅"), 0)->date(), "2026.12.7");
  EXPECT_FALSE(h.find(texts("C3▅"), 0));  // other goods: a new parcel
}

TEST_F(HistoryFile, WhatEditorsAndBuyersLeaveInTheFileIsReadAsIs) {
  // A UTF-8 mark before the first line, a line of blanks, a long line.
  print::WaybillTexts semicolons = texts("A1▅");
  semicolons.date = "2026.12.7";
  semicolons.parcel.name = "张；三";
  print::WaybillTexts long_goods = texts(std::string(5000, 'g'));
  long_goods.date = "2026.12.7";
  append("\xEF\xBB\xBF" "2026.12.6；张三；浙江省杭州市西湖区文三路；13812345678；；A1▅\r\n"
         "  \r\n" + print::log_line(semicolons) + "\r\n" + print::log_line(long_goods) + "\r\n");
  History h(path_);
  h.refresh();
  ASSERT_EQ(h.entries().size(), 3u);
  EXPECT_EQ(h.entries()[0].date(), "2026.12.6");
  EXPECT_EQ(h.find(semicolons, 0), &h.entries()[1]);
  EXPECT_EQ(h.find(long_goods, 0), &h.entries()[2]);
  EXPECT_EQ(h.count(texts(), 0), 1);
}

// Each waybill's time and template are on a note line after it, which the
// reader of the format before notes (the six fields, a date first) skips
// while it reads every waybill's line with the same six fields.
TEST_F(HistoryFile, NotesGiveEachEntryItsTimeAndTemplateAndOlderReadersSkipThem) {
  print::WaybillTexts first = texts("A1▅"), again = texts("A1▅");
  first.date = again.date = "2026.12.7";
  std::string log = print::log_line(first) + "\r\n" + print::log_note({"09:05:01", "申通"}) + "\r\n" +
                    print::log_line(again) + "\r\n" + print::log_note({"14:32:05", "圆；通"}) + "\r\n" +
                    // an older version's line, a note's fields in another order, a stray note
                    "2026.12.8；李四；地址；139；；货\r\n" +
                    "@时间=15:00:00；运单号=YT001；模板=韵达\r\n\r\n@时间=16:00:00；模板=申通\r\n";
  append(log);
  for (std::string_view line : {print::log_note({"09:05:01", "申通"}), std::string("@时间=1")})
    EXPECT_FALSE(print::parse_history_line(line)) << line;
  EXPECT_EQ(print::parse_history_line(print::log_line(again))->goods(), "A1▅");
  History h(path_);
  h.refresh();
  ASSERT_EQ(h.entries().size(), 3u);
  EXPECT_EQ(h.entries()[0].note.time, "09:05:01");
  EXPECT_EQ(h.entries()[0].note.template_name, "申通");
  EXPECT_EQ(h.entries()[1].note.time, "14:32:05");  // a reprint keeps its own template
  EXPECT_EQ(h.entries()[1].note.template_name, "圆，通");
  EXPECT_EQ(h.entries()[1].goods(), "A1▅");
  EXPECT_EQ(h.entries()[2].note.template_name, "韵达");  // its fields in any order
  EXPECT_EQ(h.entries()[2].note.waybill_number, "YT001");
  EXPECT_EQ(h.count(texts(), 0), 2);
}

// A log grown to 40 MB of blank lines is read in the memory its entries need.
TEST_F(HistoryFile, BlankLinesTakeNoRoom) {
  append(std::string(size_t(40) << 20, '\n') + "2026.12.6；张三；地址；139；；货\r\n");
  History h(path_);
  h.refresh();
  ASSERT_EQ(h.entries().size(), 1u);
  EXPECT_LT(h.entries().capacity(), 16u);
}

TEST_F(HistoryFile, OnlyWhatWasAppendedIsReadAgain) {
  std::string first = "2026.12.6；张三；浙江省杭州市西湖区文三路；13812345678；；A1▅\r\n";
  append(first + "2026.12.7；李四；地址；139；；货\r\n2026.12.7；王五；地址；1");  // last line unfinished
  History h(path_);
  h.refresh();
  EXPECT_EQ(h.entries().size(), 2u);
  // Changing what was read already goes unnoticed (it is not read again);
  // the finished line and a new one are.
  {
    std::fstream f(path_, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(0);
    f << "XXXX";
  }
  append("50；；；货\r\n2026.12.8；赵六；地址；137；；货\r\n");
  h.refresh();
  ASSERT_EQ(h.entries().size(), 4u);
  EXPECT_EQ(h.entries()[0].name(), "张三");
  EXPECT_EQ(h.entries()[2].mobile(), "150");
  // A file replaced by a shorter one is read from its start; a missing one
  // has no entries.
  std::filesystem::remove(path_);
  append("2026.12.9；孙七；地址；136；；货\r\n");
  h.refresh();
  ASSERT_EQ(h.entries().size(), 1u);
  EXPECT_EQ(h.entries()[0].name(), "孙七");
  std::filesystem::remove(path_);
  h.refresh();
  EXPECT_TRUE(h.entries().empty());
}

}  // namespace
