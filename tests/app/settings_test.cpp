#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/templates.h"
#include "runtime/platform.h"
#include "runtime/settings_file.h"
#include "runtime/text_encoding.h"
#include "tests/app/settings_file_fixture.h"
#include "tests/runtime/recorded_boxes.h"
#include "view/memory_view.h"

namespace {

using namespace app;

// The window whose questions a save asks (its boxes go to RecordedBoxes).
view::BoxAsker pane_window(0x5E7);

const std::string two_lines = "上海市\r\n浦东";
const std::string two_lines_encoded = "%C9%CF%BA%A3%CA%D0%0D%0A%C6%D6%B6%AB";

TEST(SettingText, EncodesEveryByteButLettersAndDigits) {
  EXPECT_EQ(rt::encode_setting_text(two_lines), two_lines_encoded);
  EXPECT_EQ(rt::encode_setting_text("Room 5-2"), "Room%205%2D2");
  EXPECT_EQ(rt::encode_setting_text("\n"), "%0A");
  EXPECT_EQ(rt::encode_setting_text(""), "");
}

TEST(SettingText, DecodesAndKeepsBrokenEscapes) {
  EXPECT_EQ(rt::decode_setting_text(two_lines_encoded), two_lines);
  EXPECT_EQ(rt::decode_setting_text("Room%205%2d2"), "Room 5-2");  // lower case digits too
  EXPECT_EQ(rt::decode_setting_text("a%00b"), "ab");               // a zero appends nothing
  EXPECT_EQ(rt::decode_setting_text("100%"), "100%");
  EXPECT_EQ(rt::decode_setting_text("%4"), "%4");
  EXPECT_EQ(rt::decode_setting_text("%zz%41"), "%zzA");
  std::string all;
  for (int c = 1; c < 256; ++c) all += char(c);
  EXPECT_EQ(rt::decode_setting_text(rt::encode_setting_text(all)), all);
}

TEST(SettingsPath, WorkingDirectoryTrimmedPlusTheFileName) {
  std::string sep(1, platform_path_separator());
  EXPECT_EQ(settings_path_in("  dir\xA1\xA1"), "dir" + sep + "cfg.ini");
  auto previous = std::filesystem::current_path();
  auto elsewhere = std::filesystem::temp_directory_path();
  std::filesystem::current_path(elsewhere);
  std::string path = working_settings_path();
  std::filesystem::current_path(previous);
  EXPECT_EQ(std::filesystem::path(path), elsewhere / "cfg.ini");
}

class SettingsStore : public SettingsFolder {};

TEST_F(SettingsStore, HidingNeedsTheFile) {
  EXPECT_FALSE(hide_settings_file(path_));  // first start: nothing to hide yet
  rt::ini_write(path_, "ji", "jiname", "x");
  EXPECT_TRUE(hide_settings_file(path_));
  EXPECT_TRUE(rt::ini_write(path_, "ji", "jiname", "y"));  // and writable
  EXPECT_EQ(rt::ini_read(path_, "ji", "jiname"), "y");
}

TEST_F(SettingsStore, FirstClickOpensThePaneAndWritesNothing) {
  view::MemoryView view;
  Settings settings(path_);
  settings.load_settings(view, {});
  EXPECT_EQ(view.text(view::control::left_offset), "0");  // shown, not left empty
  EXPECT_EQ(view.text(view::control::top_offset), "0");
  settings.toggle_settings(view, pane_window);
  EXPECT_EQ(view.width(), 600);
  EXPECT_EQ(view.text(view::control::settings_button), "保存");
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(SettingsStore, SavingWritesTheSevenKeysAndReloads) {
  view::MemoryView view;
  Settings settings(path_);
  const std::string printers[] = {"打印机A", "PDF"};
  settings.load_settings(view, printers);
  view.set_text(view::control::sender_address, two_lines);
  view.set_text(view::control::sender_name, "张三");
  view.set_text(view::control::left_offset, "5");
  view.list_select(view::control::printer_list, 1);
  settings.toggle_settings(view, pane_window);  // opens the pane
  settings.toggle_settings(view, pane_window);
  EXPECT_EQ(view.width(), 300);
  EXPECT_EQ(view.text(view::control::settings_button), "设置");
  EXPECT_EQ(view.status, "已保存设置");
  EXPECT_EQ(settings.current_printer(), "PDF");
  EXPECT_EQ(file(),
            "[dayinji]\r\nleft=5\r\ntop=0\r\nmoren=PDF\r\n[ji]\r\njiname=张三\r\njitel=\r\n"
            "jiphone=\r\njiqita=" +
                two_lines_encoded + "\r\n");

  view::MemoryView next_start;
  Settings reloaded(path_);
  reloaded.load_settings(next_start, printers);
  EXPECT_EQ(next_start.text(view::control::sender_address), two_lines);
  EXPECT_EQ(next_start.text(view::control::sender_name), "张三");
  EXPECT_EQ(next_start.text(view::control::left_offset), "5");
  EXPECT_EQ(next_start.list_selection(view::control::printer_list), 1);
  EXPECT_EQ(reloaded.current_printer(), "PDF");
}

TEST_F(SettingsStore, AStalePrinterStaysCurrentUntilSaved) {
  rt::ini_write(path_, "dayinji", "moren", "Gone");
  view::MemoryView view;
  Settings settings(path_);
  const std::string printers[] = {"A", "B"};
  settings.load_settings(view, printers);
  EXPECT_EQ(view.list_selection(view::control::printer_list), -1);
  EXPECT_EQ(settings.current_printer(), "Gone");
  settings.toggle_settings(view, pane_window);  // opens the pane
  // The empty printer box is explained.
  EXPECT_EQ(view.status, "上次选的打印机【Gone】在这台电脑上没有，请在“设置”里重新选择");
  settings.toggle_settings(view, pane_window);  // saved with nothing selected
  EXPECT_EQ(settings.current_printer(), "");
  EXPECT_EQ(rt::ini_read(path_, "dayinji", "moren", "unset"), "");
}

// With no printer saved the list shows the system's default, which is the
// one that prints; saved as it is, the setting stays "the default", so a
// new default printer later is followed.
TEST_F(SettingsStore, TheDefaultPrinterIsShownAndStaysTheDefault) {
  view::MemoryView view;
  Settings settings(path_);
  const std::string printers[] = {"A", "B"};
  settings.load_settings(view, printers, "B");
  EXPECT_EQ(view.list_selection(view::control::printer_list), 1);
  settings.toggle_settings(view, pane_window);  // opens the pane
  std::vector<std::pair<std::string, bool>> checked;
  auto check = [&](const std::string& printer, bool changed) {
    checked.emplace_back(printer, changed);
    return true;
  };
  settings.toggle_settings(view, pane_window, check);
  EXPECT_EQ(rt::ini_read(path_, "dayinji", "moren", "unset"), "");
  view.list_select(view::control::printer_list, 0);
  settings.toggle_settings(view, pane_window);  // opens the pane
  settings.toggle_settings(view, pane_window, check);
  EXPECT_EQ(rt::ini_read(path_, "dayinji", "moren"), "A");
  EXPECT_EQ(checked, (std::vector<std::pair<std::string, bool>>{{"", false}, {"A", true}}));
}

// A save whose check the seller answers "否" writes nothing and keeps the
// pane open with the edits.
TEST_F(SettingsStore, ASaveTheSellerStopsWritesNothing) {
  view::MemoryView view;
  Settings settings(path_);
  settings.load_settings(view, {});
  view.set_text(view::control::sender_name, "张三");
  settings.toggle_settings(view, pane_window);  // opens the pane
  settings.toggle_settings(view, pane_window, [](const std::string&, bool) { return false; });
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_EQ(view.width(), 600);
  EXPECT_EQ(view.status, "设置未保存，改好后再点“保存”");
}

// A settings file that cannot be written (here: its folder is gone) is
// never reported as saved: a box and the status line say so, the pane
// stays open with the edits, and the current printer stays as it was.
TEST_F(SettingsStore, ASaveThatCannotBeWrittenSaysSoAndKeepsThePaneOpen) {
  std::string unwritable = (dir_ / "missing-folder" / "cfg.ini").string();
  view::MemoryView view;
  Settings settings(unwritable);
  const std::string printers[] = {"A", "B"};
  settings.load_settings(view, printers);
  view.set_text(view::control::sender_name, "张三");
  view.list_select(view::control::printer_list, 1);
  settings.toggle_settings(view, pane_window);  // opens the pane
  RecordedBoxes boxes;
  settings.toggle_settings(view, pane_window);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0].rfind("保存设置失败：无法写入 " + unwritable, 0), 0u) << boxes.texts[0];
  EXPECT_EQ(view.status, "保存设置失败：无法写入 " + unwritable);
  EXPECT_EQ(view.width(), 600);
  EXPECT_EQ(view.text(view::control::settings_button), "保存");  // still as the open pane left it
  EXPECT_EQ(view.text(view::control::sender_name), "张三");
  EXPECT_EQ(settings.current_printer(), "");
}

// A setting with a character GBK has not is refused by name, with its
// code, before anything is written: the file stays one older versions
// read. The sender's address is kept escaped, so any character of it is
// saved and read back whole.
TEST_F(SettingsStore, ACharacterGbkHasNotIsRefusedByNameAndNothingIsWritten) {
  const std::string town = "重庆市巫溪县\x82\x34\x88\x38江镇";  // 䢺江镇
  view::MemoryView view;
  Settings settings(path_);
  settings.load_settings(view, {});
  view.set_text(view::control::sender_name, "张\x82\x34\x88\x38");
  view.set_text(view::control::sender_address, town);
  settings.toggle_settings(view, pane_window);  // opens the pane
  RecordedBoxes boxes;
  settings.toggle_settings(view, pane_window);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.owners, (std::vector<uintptr_t>{0x5E7}));  // the settings pane's window
  EXPECT_EQ(boxes.texts[0].rfind("【寄件人姓名】里的“\x82\x34\x88\x38”（U+48BA）存不进设置文件", 0), 0u)
      << boxes.texts[0];
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_EQ(view.width(), 600);

  view.set_text(view::control::sender_name, "张三");
  settings.toggle_settings(view, pane_window);
  EXPECT_EQ(view.status, "已保存设置");
  std::ifstream in(path_, std::ios::binary);
  std::string file((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(rt::first_outside_gbk(file), std::string::npos) << file;
  view::MemoryView next_start;
  Settings(path_).load_settings(next_start, {});
  EXPECT_EQ(next_start.text(view::control::sender_address), town);
}

// An offset is a signed number of millimetres, as the guide and the
// calibration write it; anything else is refused by its box at "保存" and
// nothing is saved (digits only made "-1.5" 15 and "1.0" 10).
TEST_F(SettingsStore, OffsetsAreSignedMillimetresAndAnythingElseSavesNothing) {
  for (const char* typed : {"-1.5", "2", " +0.5 ", "\xA3\xAD\xA3\xB1", "-50", ""}) {
    view::MemoryView view;
    Settings settings(path_);
    settings.load_settings(view, {});
    view.set_text(view::control::left_offset, typed);
    settings.toggle_settings(view, pane_window);  // opens the pane
    RecordedBoxes boxes;
    settings.toggle_settings(view, pane_window);
    EXPECT_TRUE(boxes.texts.empty()) << typed;
    EXPECT_EQ(view.status, "已保存设置") << typed;
  }
  EXPECT_EQ(rt::ini_read(path_, "dayinji", "left"), "");
  for (const char* typed : {"abc", "80", "-50.1", "1.2.3", "--1", "1e1", "0x10", "-", "5mm"}) {
    std::filesystem::remove(path_);
    view::MemoryView view;
    Settings settings(path_);
    settings.load_settings(view, {});
    view.set_text(view::control::top_offset, typed);
    settings.toggle_settings(view, pane_window);  // opens the pane
    RecordedBoxes boxes;
    settings.toggle_settings(view, pane_window);
    ASSERT_EQ(boxes.texts.size(), 1u) << typed;
    EXPECT_EQ(boxes.texts[0].rfind(std::string("【上偏移】填的“") + typed + "”不是偏移的毫米数", 0),
              0u)
        << boxes.texts[0];
    EXPECT_EQ(view.status, "设置未保存，改好后再点“保存”");
    EXPECT_FALSE(std::filesystem::exists(path_)) << typed;
    EXPECT_EQ(view.width(), 600);
  }
}

// A sender pasted from a web page: its no-break and zero-width spaces are
// blanks, saved as such, never refused as characters cfg.ini cannot keep.
TEST_F(SettingsStore, ASenderPastedFromAWebPageIsSavedWithPlainBlanks) {
  view::MemoryView view;
  Settings settings(path_);
  settings.load_settings(view, {});
  view.set_text(view::control::sender_name, "王\x81\x30\x84\x32老板\x81\x36\xA4\x37");  // U+00A0, U+200B
  settings.toggle_settings(view, pane_window);  // opens the pane
  RecordedBoxes boxes;
  settings.toggle_settings(view, pane_window);
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(rt::ini_read(path_, "ji", "jiname"), "王 老板");
}

// Every template write that fails says so.
TEST_F(SettingsStore, TemplateWritesThatFailSaySo) {
  std::string unwritable = (dir_ / "missing-folder" / "cfg.ini").string();
  EXPECT_FALSE(seed_templates(unwritable, ""));
  view::MemoryView view;
  view.list_add(view::control::template_list, "申通");
  view.list_select(view::control::template_list, 0);
  set_default_template(view, unwritable);
  EXPECT_EQ(view.status, "设置默认模板失败：无法写入 " + unwritable);
  EXPECT_TRUE(seed_templates(path_, ""));
}

}  // namespace
