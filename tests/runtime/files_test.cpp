#include "runtime/files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "runtime/bytes.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/platform.h"
#include "runtime/system.h"
#include "tests/support/wine.h"

namespace {

namespace fs = std::filesystem;

class Files : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / "slipjet-files-test";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string contents(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

TEST_F(Files, OpenModesCreateOnlyWhenAsked) {
  std::string missing = path("missing.txt");
  EXPECT_EQ(rt::open_file(missing), nullptr);
  EXPECT_EQ(rt::open_file(missing, rt::kOpenRead), nullptr);
  EXPECT_EQ(rt::open_file(missing, rt::kOpenWrite), nullptr);
  EXPECT_FALSE(rt::file_exists(missing));
  for (int mode : {rt::kOpenTruncateOrCreate, rt::kOpenWriteCreate, rt::kOpenReadWriteCreate}) {
    rt::OpenFile* file = rt::open_file(missing, mode, rt::kShareNone);
    ASSERT_NE(file, nullptr) << "mode " << mode;
    EXPECT_EQ(file->kind, 1);
    rt::close_file(file);
    EXPECT_TRUE(rt::delete_file(missing));
  }
}

TEST_F(Files, WriteLinesWritesTextsAndValuesEachOnALine) {
  std::string p = path("log.txt");
  rt::OpenFile* file = rt::open_file(p, rt::kOpenTruncateOrCreate);
  ASSERT_NE(file, nullptr);
  const RtArg abc_and_empty[] = {rt_text_arg("abc"), rt_text_arg(nullptr)};
  EXPECT_TRUE(rt::write_lines(file, abc_and_empty));
  rt::close_file(file);
  EXPECT_EQ(contents(p), "abc\r\n");

  file = rt::open_file(p, rt::kOpenWriteCreate);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(rt::seek_end(file));
  rt::Bytes set = rt::Bytes::copy_of("zz");
  const RtArg values[] = {rt_int_arg(7), rt_bool_arg(false), rt_double_arg(2.5),
                          rt_pointer_arg(set.block(), RT_BYTES), rt_text_arg("中文")};
  EXPECT_TRUE(rt::write_lines(file, values));
  rt::close_file(file);
  EXPECT_EQ(contents(p), "abc\r\n7\r\n假\r\n2.5\r\n\r\n中文\r\n");
}

TEST_F(Files, AClosedFileIsRefusedEverywhere) {
  rt::OpenFile* file = rt::open_file(path("a.txt"), rt::kOpenReadWriteCreate);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(rt::is_open(file));
  rt::close_file(file);
  EXPECT_FALSE(rt::is_open(file));
  const RtArg line[] = {rt_text_arg("x")};
  EXPECT_FALSE(rt::seek_end(file));
  EXPECT_FALSE(rt::write_lines(file, line));
  rt::close_file(file);  // again: nothing happens
  EXPECT_FALSE(rt::write_lines(nullptr, line));
  rt::OpenFile never_opened{1, 0, nullptr};
  EXPECT_FALSE(rt::seek_end(&never_opened));
  EXPECT_EQ(contents(path("a.txt")), "");
}

TEST_F(Files, WriteFileTruncatesAndWritesEveryPiece) {
  std::string p = path("whole.bin");
  std::string_view long_first[] = {"0123456789"};
  EXPECT_TRUE(rt::write_file(p, long_first));
  std::string_view pieces[] = {"ab", "", std::string_view("c\0d", 3)};
  EXPECT_TRUE(rt::write_file(p, pieces));
  EXPECT_EQ(contents(p), std::string("abc\0d", 5));
  EXPECT_FALSE(rt::write_file(path("no/such/folder.bin"), pieces));
}

TEST_F(Files, MoveDeleteAndExists) {
  std::string a = path("a.txt"), b = path("b.txt");
  std::string_view x[] = {"x"};
  ASSERT_TRUE(rt::write_file(a, x));
  ASSERT_TRUE(rt::write_file(b, x));
  EXPECT_FALSE(rt::move_file(a, b));  // the target exists
  EXPECT_TRUE(rt::delete_file(b));
  EXPECT_TRUE(rt::move_file(a, b));
  EXPECT_FALSE(rt::file_exists(a));
  EXPECT_TRUE(rt::file_exists(b));
  EXPECT_TRUE(rt::file_exists(dir_.string()));  // folders count too
  EXPECT_FALSE(rt::delete_file(a));
}

// Two running copies print at once: each line lands whole at the end,
// never written over or into the other's.
TEST_F(Files, LinesAppendedAtOnceByTwoWritersStayWhole) {
  // Windows appends atomically with append-only access; Wine seeks and
  // writes, and loses a line now and then (596 of 600 seen).
  if (running_under_wine()) GTEST_SKIP() << "Wine's append-only writes are not atomic";
  std::string log = path("log.txt");
  ASSERT_TRUE(rt::create_file(log));
  auto append = [&](char who) {
    for (int i = 0; i < 300; ++i)
      ASSERT_EQ(rt::append_line(log, std::string(40, who) + std::to_string(i)),
                rt::AppendOutcome::appended);
  };
  std::thread first(append, 'a'), second(append, 'b');
  first.join();
  second.join();
  std::string all = contents(log);
  size_t lines = 0;
  for (size_t at = 0, end; (end = all.find("\r\n", at)) != std::string::npos; at = end + 2) {
    // A writer that read the other's line half-way on the disk starts on a
    // line of its own: a blank line, which every reader skips.
    std::string line = all.substr(at, end - at);
    if (line.empty()) continue;
    ASSERT_TRUE(line.size() > 40 && line.find_first_not_of(line[0], 0) == 40) << line;
    ++lines;
  }
  EXPECT_EQ(lines, 600u);
}

TEST(ExePath, DirectoryAndNameMakeThePath) {
  std::string dir(rt::exe_dir().view()), name(rt::exe_name().view());
  EXPECT_EQ(name.rfind("runtime_tests", 0), 0u) << name;
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_NE(dir.back(), '/');
  EXPECT_TRUE(rt::file_exists(dir));
}

TEST(ExePath, CutAtTheLastSeparatorCharacter) {
  // Characters whose second byte is a backslash, written as bytes (the
  // sources must not hold them as characters): 9C 5C and 87 5C.
  EXPECT_EQ(rt::last_path_separator("C:\\\x9C\x5C\\slipjet.exe"), 5u);
  EXPECT_EQ(rt::last_path_separator("C:\\店\\\x87\x5C"), 5u);
  EXPECT_EQ(rt::last_path_separator("/a/b"), 2u);
  EXPECT_EQ(rt::last_path_separator("slipjet.exe"), std::string_view::npos);
}

TEST(Run, StartsAProgramAndWaitsForIt) {
  auto out = (fs::temp_directory_path() / "slipjet-run-test.xml").string();
  fs::remove(out);
  std::string self = std::string(rt::exe_dir().view()) + "/" + std::string(rt::exe_name().view());
  std::string command = "\"" + self + "\" --gtest_filter=None --gtest_output=xml:" + out;
  EXPECT_TRUE(rt::run(command, true, 1));
  EXPECT_TRUE(fs::exists(out));  // written before run returned
  fs::remove(out);
  EXPECT_FALSE(rt::run("\"" + self + ".missing\"", true));
}

TEST(Clock, NowAndItsCalendarParts) {
  double now = rt::now();
  EXPECT_GE(rt::year(now), 2024);
  EXPECT_DOUBLE_EQ(rt::date_from_parts(rt::date_parts(now)), now);  // whole seconds
  EXPECT_EQ(rt::year(45351.9), 2024);
  EXPECT_EQ(rt::month(45351.9), 2);
  EXPECT_EQ(rt::day(45351.9), 29);
  EXPECT_EQ(rt::day(-1.5), 29);
}

TEST(Clock, DatesFromPartsRoundTrip) {
  EXPECT_DOUBLE_EQ(rt::date_from_parts({1899, 12, 30, 0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(rt::date_from_parts({1900, 1, 1, 0, 0, 0}), 2.0);
  EXPECT_DOUBLE_EQ(rt::date_from_parts({1899, 12, 29, 6, 0, 0}), -1.25);
  EXPECT_DOUBLE_EQ(rt::date_from_parts({2024, 2, 29, 18, 0, 0}), 45351.75);
  for (double d : {-800.5, -1.25, 0.5, 59.0, 60.0, 36585.125, 2958465.0}) {
    rt::DateParts p = rt::date_parts(d);
    EXPECT_DOUBLE_EQ(rt::date_from_parts(p), d);
  }
}

TEST(Wait, ReturnsAtOnceForNothingAndWaitsOtherwise) {
  double start = rt::now();
  rt::wait(0);
  rt::wait(-5);
  rt::wait(1100);
  EXPECT_GE((rt::now() - start) * 86400, 1.0 - 1e-6);
}

TEST(Clipboard, TextComesBackAsSet) {
  ASSERT_TRUE(platform_set_clipboard_text("收件人 张三"));
  EXPECT_EQ(rt::clipboard_text(), "收件人 张三");
  ASSERT_TRUE(platform_set_clipboard_text(""));
  EXPECT_TRUE(rt::clipboard_text().empty());
}

}  // namespace
