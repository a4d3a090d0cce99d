#include "app/templates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "print/template_store.h"
#include "runtime/settings_file.h"
#include "tests/app/settings_file_fixture.h"
#include "view/memory_view.h"

namespace {

using namespace app;

const std::vector<std::string> builtin_names = {"申通", "圆通", "中通", "汇通",  "韵达",
                                                "小包", "EMS",  "顺丰", "宅急送"};

class Templates : public SettingsFolder {
 protected:
  std::vector<std::string> listed() { return view_.lists[view::control::template_list]; }
  int selected() { return view_.list_selection(view::control::template_list); }
  void start(std::string_view banner = {}) {
    seed_templates(path_, banner);
    fill_template_list(view_, path_);
  }

  view::MemoryView view_;
};

TEST_F(Templates, BuiltInTableIs890BytesOfNineRows) {
  EXPECT_EQ(builtin_templates.size(), 890u);
  EXPECT_EQ(builtin_templates.substr(0, 7), "1=申通,");
}

TEST_F(Templates, FirstStartSeedsTheBuiltInRows) {
  start();
  EXPECT_EQ(listed(), builtin_names);
  EXPECT_EQ(selected(), -1);
  EXPECT_EQ(rt::ini_read(path_, "dayin", "1"),
            "申通,260,250,690,600,360,600,260,400,1200,250,1600,600,1260,600,1180,400,200,0,200,"
            "50,500,340,,,");
  EXPECT_EQ(rt::ini_read(path_, "dayin", "9").view().substr(0, 7), "宅急送,");
}

TEST_F(Templates, EditedRowsSurviveLaterStarts) {
  start();
  rt::ini_write(path_, "dayin", "2", "自定义,1,2,,,");
  start();
  EXPECT_EQ(listed()[1], "自定义");
}

TEST_F(Templates, TheDefaultIsMarkedAndSelected) {
  start();
  rt::ini_write(path_, "dayin", "wz", "3");
  fill_template_list(view_, path_);
  EXPECT_EQ(listed()[2], "中通[默认]");
  EXPECT_EQ(selected(), 2);
  rt::ini_write(path_, "dayin", "wz", "12");  // past the end: marked nowhere
  fill_template_list(view_, path_);
  EXPECT_EQ(listed(), builtin_names);
  EXPECT_EQ(selected(), -1);
}

TEST_F(Templates, BannerBlockOverwritesItsRowsOnly) {
  start();
  start("<html>位置1=X,1,2,,,\r\n|</html>");
  std::vector<std::string> expected = builtin_names;
  expected[0] = "X";
  EXPECT_EQ(listed(), expected);
}

TEST_F(Templates, ARowWithoutItsLineBreakEndsTheSeeding) {
  start("位置1=A,1,,,\r\n2=B,2,,,|");
  EXPECT_EQ(listed(), (std::vector<std::string>{"A"}));
  EXPECT_TRUE(rt::ini_read(path_, "dayin", "2").empty());
}

TEST_F(Templates, AGapEndsTheList) {
  start();
  rt::ini_write(path_, "dayin", "4", "");
  fill_template_list(view_, path_);
  EXPECT_EQ(listed(), (std::vector<std::string>{"申通", "圆通", "中通"}));
}

TEST_F(Templates, DefaultLinkStoresTheSelection) {
  start();
  rt::ini_write(path_, "dayin", "wz", "3");
  fill_template_list(view_, path_);
  set_default_template(view_, path_);  // "中通[默认]" selected
  EXPECT_EQ(rt::ini_read(path_, "dayin", "wz"), "3");
  EXPECT_EQ(view_.status, "已设置[中通] 为你的默认快递模板");
  EXPECT_EQ(selected(), 2);

  view_.list_select(view::control::template_list, -1);
  set_default_template(view_, path_);
  EXPECT_EQ(rt::ini_read(path_, "dayin", "wz"), "0");
  EXPECT_EQ(view_.status, "已设置[] 为你的默认快递模板");
  EXPECT_EQ(listed(), builtin_names);
  EXPECT_EQ(selected(), -1);
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string block_of(size_t rows, const std::string& row = "R,1,2,,,") {
  std::string block = "位置";
  for (size_t n = 1; n <= rows; ++n) block += std::to_string(n) + "=" + row + "\r\n";
  return block + "|";
}

// The page comes over plain HTTP: a block with anything unsound in it is
// ignored whole, and the settings stay byte for byte as they were.
TEST_F(Templates, AnUnsoundBlockIsIgnoredWhole) {
  start();
  rt::ini_write(path_, "ji", "jiname", "王老板");
  std::string before = file_bytes(path_);
  const std::string unsound[] = {
      "位置1=X,1,2\n[ji]\njiname=EVIL\r\n|",  // a bare LF opens a section
      "位置1=X,1,2\r\n2=Y,3\r4\r\n|",
      "位置1=X,1,\t2\r\n|",
      "位置1=,1,2\r\n|",  // no name
      "位置1=X\r\n|",     // no numbers
      "位置1=X,1,2x\r\n|",
      "位置1=X," + std::string(600, '1') + "\r\n|",
      block_of(kMaxPageRows + 1),
      block_of(75000),
  };
  for (const std::string& page : unsound) {
    EXPECT_FALSE(page_template_rows(page)) << page.substr(0, 40);
    start(page);
    EXPECT_EQ(file_bytes(path_), before) << page.substr(0, 40);
  }
  EXPECT_EQ(listed(), builtin_names);
}

TEST_F(Templates, SoundBlocksUpToTheLimit) {
  auto rows = page_template_rows(block_of(kMaxPageRows, "甲,-1,2,,,"));
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->size(), kMaxPageRows);
  EXPECT_EQ(rows->front(), "甲,-1,2,,,");
  EXPECT_FALSE(page_template_rows("no block"));
}

// Rows are written in one pass: the section's other lines stay, a block
// that changes nothing writes nothing.
TEST_F(Templates, SeedingKeepsTheSectionsOtherLines) {
  start();
  rt::ini_write(path_, "dayin", "wz", "2");
  start("位置1=甲,1,2,,,\r\n2=乙,3,4,,,\r\n|");
  EXPECT_EQ(listed()[0], "甲");
  EXPECT_EQ(listed()[1], "乙[默认]");
  EXPECT_EQ(listed()[2], "中通");
  EXPECT_EQ(rt::ini_read(path_, "dayin", "wz"), "2");
  // A rewrite would end these lines with CR LF.
  std::ofstream(path_, std::ios::binary | std::ios::trunc)
      << "[dayin]\n1=甲,1,2,,,\n2 = 乙,3,4,,,\n";
  EXPECT_TRUE(write_template_rows(path_, {"甲,1,2,,,", "乙,3,4,,,"}));
  EXPECT_EQ(file_bytes(path_), "[dayin]\n1=甲,1,2,,,\n2 = 乙,3,4,,,\n");
}

}  // namespace

namespace {

// The seller's own templates come after the server's and built-in ones,
// are stored apart from them and never overwritten by an update; editing a
// server template stores a copy.
TEST_F(Templates, OwnTemplatesAreListedAfterTheOthersAndSurviveUpdates) {
  start();
  std::string copy =
      "我的申通,360,250,690,600,360,600,260,400,1300,250,1600,600,1260,600,1180,"
      "400,200,0,200,50,";
  int mine = save_own_template(path_, 0, copy);  // editing 申通: a copy
  EXPECT_EQ(mine, 9);
  EXPECT_EQ(std::string(rt::ini_read(path_, "dayin", "1").view()).substr(0, 5), "申通,");
  start("位置1=X,1,2,,,\r\n2=Y,3,4,,,\r\n|");  // an update rewrites its rows
  std::vector<std::string> expected = builtin_names;
  expected[0] = "X";
  expected[1] = "Y";
  expected.push_back("我的申通");
  EXPECT_EQ(listed(), expected);
  EXPECT_EQ(template_row(path_, 9), copy);
  EXPECT_TRUE(is_own_template(path_, 9));
  EXPECT_FALSE(is_own_template(path_, 8));
  EXPECT_EQ(template_row(path_, 0), "X,1,2,,,");
  EXPECT_EQ(template_row(path_, 10), "");

  // Editing an own template changes it in place; the default may be one.
  EXPECT_EQ(save_own_template(path_, 9, "我的申通,1,2,,,"), 9);
  EXPECT_EQ(save_own_template(path_, 3, "另一个,5,6,,,"), 10);
  rt::ini_write(path_, "dayin", "wz", "11");
  fill_template_list(view_, path_);
  EXPECT_EQ(listed()[9], "我的申通");
  EXPECT_EQ(listed()[10], "另一个[默认]");
  EXPECT_EQ(selected(), 10);
}

// The default names its template: an own default stays the default when
// the server's block grows (its list position moves down), and so does a
// server template that moved; a file with only the position is read as
// before.
TEST_F(Templates, TheDefaultStaysTheSameTemplateWhenTheServerBlockGrows) {
  start();
  int mine = save_own_template(path_, 0, "我的申通,1,2,,,");
  fill_template_list(view_, path_);
  view_.list_select(view::control::template_list, mine);
  set_default_template(view_, path_);
  EXPECT_EQ(rt::ini_read(path_, "dayin", "wz"), "10");  // for an older version

  start(block_of(12));  // the next start: the server sends twelve rows
  EXPECT_EQ(listed().size(), 13u);
  EXPECT_EQ(listed()[12], "我的申通[默认]");
  EXPECT_EQ(selected(), 12);

  start("位置1=甲,1,2,,,\r\n2=乙,3,4,,,\r\n|");
  view_.list_select(view::control::template_list, 1);
  set_default_template(view_, path_);
  start("位置1=新,1,2,,,\r\n2=甲,1,2,,,\r\n3=乙,3,4,,,\r\n|");
  EXPECT_EQ(listed()[2], "乙[默认]");
  EXPECT_EQ(selected(), 2);
}

// The default is the same template whatever its name or position: an own
// default renamed, then a larger server block, is still the default; two
// own templates of one name cannot be made, the next free name is offered.
TEST_F(Templates, AnOwnDefaultIsKnownByItsRowNotItsName) {
  start();
  int mine = save_own_template(path_, 0, "我的申通,1,2,,,");
  fill_template_list(view_, path_);
  view_.list_select(view::control::template_list, mine);
  set_default_template(view_, path_);
  EXPECT_EQ(save_own_template(path_, mine, "改名申通,1,2,,,"), mine);  // renamed in place
  start(block_of(12));
  EXPECT_EQ(listed()[12], "改名申通[默认]");
  EXPECT_EQ(selected(), 12);

  print::TemplateStore store(path_);
  EXPECT_TRUE(store.own_name_taken("改名申通", -1));
  EXPECT_FALSE(store.own_name_taken("改名申通", 12));  // keeping its own name
  EXPECT_EQ(store.free_own_name("改名申通"), "改名申通2");
  EXPECT_EQ(store.free_own_name("我的圆通"), "我的圆通");
  // A file an older version wrote, naming its own default by name, still reads.
  rt::ini_write(path_, "dayin", "moren", "wodemoban,改名申通");
  EXPECT_EQ(print::TemplateStore(path_).default_position(), 12);
}

TEST_F(Templates, NamesThatWouldBreakTheRowAreRefused) {
  EXPECT_TRUE(is_template_name("我的申通 2"));
  EXPECT_TRUE(is_template_name("郵政"));  // 郵 is E0 5D: its second byte is no "]"
  EXPECT_FALSE(is_template_name("申\xB0"));  // a character cut in two
  // cfg.ini is GBK: a character it has not would come back as "??".
  EXPECT_EQ(template_name_problem("我的\x82\x34\x88\x38圆通"),
            "模板名称里的“\x82\x34\x88\x38”（U+48BA）存不进设置文件 cfg.ini：" +
                std::string(rt::kSettingsKeepGbk) + "请换一种写法再保存。");
  EXPECT_EQ(template_name_problem("我的圆通2"), "");
  for (const std::string& bad :
       std::vector<std::string>{"", "a,b", "a=b", "[x]", "a;b", "a\r\nb", std::string(33, 'x')})
    EXPECT_FALSE(is_template_name(bad)) << bad;
}

}  // namespace
