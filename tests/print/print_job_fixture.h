// The print job's test fixture: a settings folder with three templates, a
// filled window, a recording surface and scripted answers to its questions.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "print/print_job.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"
#include "tests/app/settings_file_fixture.h"
#include "tests/print/recording_surface.h"
#include "tests/view/scripted_asker.h"
#include "view/memory_view.h"

namespace {

using namespace view::control;

constexpr std::string_view kYuantong =
    "圆通,260,230,690,500,360,500,260,350,1200,230,1600,500,1280,500,1180,350,200,0,200,50,,,";

class PrintJob : public SettingsFolder {
 protected:
  void SetUp() override {
    SettingsFolder::SetUp();
    rt::ini_write(path_, "dayin", "1",
                  "申通,10,20,30,40,50,60,70,80,90,100,110,120,130,140,150,160,170,180,190,200,");
    rt::ini_write(path_, "dayin", "2", std::string(kYuantong));
    rt::ini_write(path_, "dayin", "3", "短行,1,2,x3");
    rt::ini_write(path_, "dayin", "moren", "dayin,申通");  // the default, as the list marks it
    view.list_add(template_list, "申通[默认]");
    view.list_add(template_list, "圆通");
    view.list_add(template_list, "短行");
    view.list_add(template_list, "无此行");
    view.list_select(template_list, 0);
    view.set_text(name_box, "张三");
    view.set_text(mobile_phone, "13812345678");
    view.set_text(fixed_phone, "0571-88886666");
    view.set_text(address, "浙江省杭州市\r\n西湖区");
    view.set_text(goods, "A1_黑色_40×2▅");
    view.set_text(sender_name, "王老板");
    view.set_text(sender_fixed_phone, "021-1");
    view.set_text(sender_mobile, "13700001111");
    view.set_text(sender_address, "上海市");
    job.emplace(view, surface, path_, asker);
  }
  void TearDown() override {
    for (const std::string& caption : asker.captions) EXPECT_EQ(caption, "注意");
    SettingsFolder::TearDown();
  }

  std::string date() const {
    double now = rt::now();
    return print::waybill_date(rt::year(now), rt::month(now), rt::day(now));
  }

  view::MemoryView view;
  RecordingSurface surface;
  ScriptedAsker asker;
  std::deque<int>& answers = asker.answers;         // RT_IDYES once none is left
  std::vector<std::string>& questions = asker.asked;
  std::optional<print::PrintJob> job;
};

}  // namespace
