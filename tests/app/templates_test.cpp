#include "app/templates.h"

#include <gtest/gtest.h>

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

}  // namespace
