// One table of settings-file cases, run against the host engine natively
// and against the Windows private-profile functions under Wine, so the two
// cannot drift apart.
#include "runtime/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/file_system.h"
#include "tests/support/wine.h"

namespace {

struct Write {
  const char* section;
  const char* key;
  std::string value;
};

struct Read {
  const char* section;
  const char* key;
  std::optional<std::string> default_value;
  std::string expected;
  // What Wine reads where it is known to differ from Windows.
  std::optional<std::string> on_wine = std::nullopt;
};

struct IniCase {
  const char* name;
  std::optional<std::string> initial;  // no file when absent
  std::vector<Write> writes;
  std::optional<std::string> expected_file;
  std::vector<Read> reads;
};

const std::string long_value(3000, 'x');

const IniCase cases[] = {
    {"missing file reads the default without trailing blanks",
     std::nullopt,
     {},
     std::nullopt,
     {{"a", "b", "dflt  ", "dflt"}, {"a", "b", std::nullopt, ""}}},
    {"writes create file, section and key",
     std::nullopt,
     {{"sec", "key", "v1"}, {"sec", "k2", ""}, {"Two", "x", "  lead"}, {"SEC", "KEY", "v2"}},
     "[sec]\r\nkey=v2\r\nk2=\r\n[Two]\r\nx=lead\r\n",
     {{"sec", "k2", "dflt", ""}, {"two", "X", std::nullopt, "lead"}}},
    {"blank space, first section and first key win",
     "[s]\r\n  key  =  spaced value  \r\n\r\n[t]\r\nfoo\r\n;c=1\r\nk=1\r\nK=2\r\n=empty\r\n"
     "[s]\r\nkey=second\r\nz=noend",
     {},
     std::nullopt,
     {{"s", "key", std::nullopt, "spaced value"},
      {" S ", " key ", std::nullopt, "spaced value"},
      {"t", "foo", "d", "d"},
      {"t", ";c", std::nullopt, "1"},
      {"t", "k", std::nullopt, "1"},
      {"t", "", std::nullopt, "empty"},
      {"s", "z", "none", "none"},
      {"s", "missing", "def", "def"},
      {"missing", "key", "def", "def"}}},
    {"a write normalises the file and appends a new key to its section",
     "[s]\r\n  key  =  spaced value  \r\n\r\n[t]\r\nfoo\r\n;c=1\r\n[s]\r\nkey=second",
     {{"t", "new", "1"}},
     "[s]\r\nkey=spaced value\r\n[t]\r\nfoo\r\n;c=1\r\nnew=1\r\n[s]\r\nkey=second\r\n",
     {}},
    {"writing an unchanged value leaves the file alone",
     "[s]\r\n k = v \r\n\r\n",
     {{"s", "k", "v"}},
     "[s]\r\n k = v \r\n\r\n",
     {}},
    {"key holding = or ;",
     "[s]\r\nk=v",
     {{"s", "a=b", "c"}, {"s", ";x", "y"}},
     "[s]\r\nk=v\r\na=b=c\r\n;x=y\r\n",
     {{"s", "a=b", "d", "d"}, {"s", "a", std::nullopt, "b=c"}, {"s", ";x", std::nullopt, "y"}}},
    {"LF and CR line ends, no final line break",
     "[s]\nk=v\n[t]\ra=b",
     {{"s", "k2", "w"}},
     "[s]\r\nk=v\r\nk2=w\r\n[t]\r\na=b\r\n",
     {{"t", "a", std::nullopt, "b"}}},
    {"values longer than 1023 bytes come back whole",
     std::nullopt,
     {{"s", "big", long_value}},
     std::nullopt,
     {{"s", "big", std::nullopt, long_value}}},
    {"GBK sections, keys and values",
     "[s]\r\nk=上海\r\n",
     {{"中", "文", "啊"}},
     "[s]\r\nk=上海\r\n[中]\r\n文=啊\r\n",
     {{"s", "k", std::nullopt, "上海"}, {"中", "文", std::nullopt, "啊"}}},
    {"names fold by characters, as Windows folds them",
     "[s]\r\n丄=first\r\nＡＢ=wide\r\nα=greek\r\nд=cyrillic\r\nⅰ=roman\r\n[Ω]\r\nk=v\r\n",
     {{"s", "乤", "second"}},  // 81 61 is not 81 41 with its trail byte folded
     "[s]\r\n丄=first\r\nＡＢ=wide\r\nα=greek\r\nд=cyrillic\r\nⅰ=roman\r\n乤=second\r\n"
     "[Ω]\r\nk=v\r\n",
     // Wine folds ASCII letters only.
     {{"s", "丄", std::nullopt, "first"},
      {"s", "乤", std::nullopt, "second"},
      {"s", "ａｂ", std::nullopt, "wide", ""},
      {"s", "Α", std::nullopt, "greek", ""},
      {"s", "Д", std::nullopt, "cyrillic", ""},
      {"s", "Ⅰ", std::nullopt, "roman", ""},
      {"ω", "k", std::nullopt, "v", ""}}},
    {"keys before the first section",
     "k0=top\r\n[s]\r\nk=v\r\n",
     {{"s", "k", "w"}},
     "k0=top\r\n[s]\r\nk=w\r\n",
     {{"", "k0", std::nullopt, "top"}}},
    {"matching quotes are stripped",
     "[s]\r\nq=\"quoted\"\r\nr='x'\r\nt=\"half\r\nu=\"\r\n",
     {},
     std::nullopt,
     {{"s", "q", std::nullopt, "quoted"},
      {"s", "r", std::nullopt, "x"},
      {"s", "t", std::nullopt, "\"half"},
      {"s", "u", std::nullopt, "\""}}},
    {"section headers",
     "[ s ]\r\nk=v\r\n[u\r\nm=1\r\n[w] junk\r\nn=2\r\n",
     {},
     std::nullopt,
     {{"s", "k", std::nullopt, "v"},
      {"u", "m", "none", "none"},
      {"s", "m", std::nullopt, "1"},
      {"w", "n", std::nullopt, "2"}}},
    {"blank names and values on write",
     "[s]\r\nk=v",
     {{" s ", " k2 ", "v2   "}},
     "[s]\r\nk=v\r\nk2 =v2   \r\n",
     {{"s", "k2", std::nullopt, "v2"}}},
    {"tabs and the end-of-file byte are blank",
     "[s]\r\n\tk\t=\tv\x1a\t\r\n",
     {},
     std::nullopt,
     {{"s", "k", std::nullopt, "v"}}},
};

class SettingsFile : public testing::TestWithParam<IniCase> {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() / "slipjet-settings-test.ini").string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::string contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string path_;
};

TEST_P(SettingsFile, BehavesAsThePrivateProfileFunctions) {
  const IniCase& c = GetParam();
  if (c.initial) {
    std::ofstream(path_, std::ios::binary) << *c.initial;
  }
  for (const Write& w : c.writes)
    EXPECT_TRUE(rt::ini_write(path_, w.section, w.key, w.value)) << w.section << "/" << w.key;
  if (c.expected_file) {
    EXPECT_EQ(contents(), *c.expected_file);
  }
  for (const Read& r : c.reads) {
    std::optional<std::string_view> default_value;
    if (r.default_value) default_value = *r.default_value;
    std::string expected = running_under_wine() && r.on_wine ? *r.on_wine : r.expected;
    EXPECT_EQ(rt::ini_read(path_, r.section, r.key, default_value).view(), expected)
        << "[" << r.section << "] " << r.key;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFile, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<IniCase>& param) {
                           return "case" + std::to_string(param.index);
                         });

// The longest value Windows keeps whole is written and read back whole; a
// longer one is refused and the file keeps the old value.
TEST(SettingsFileErrors, ValuesOverWindowsLimitAreRefused) {
  auto path = (std::filesystem::temp_directory_path() / "slipjet-long-value.ini").string();
  std::filesystem::remove(path);
  std::string longest(rt::kMaxIniValue, 'v');
  ASSERT_TRUE(rt::ini_write(path, "s", "k", "old"));
  EXPECT_FALSE(rt::ini_write(path, "s", "k", longest + "w"));
  EXPECT_EQ(rt::ini_read(path, "s", "k").view(), "old");
  // Wine garbles values far shorter than Windows' limit (a known
  // difference); Windows and the host engine keep the longest whole.
  if (!running_under_wine()) {
    EXPECT_TRUE(rt::ini_write(path, "s", "k", longest));
    EXPECT_TRUE(rt::ini_read(path, "s", "k").view() == longest);  // no 32 KiB dump on failure
  }
  std::filesystem::remove(path);
}

TEST(SettingsFileErrors, WriteIntoAMissingFolderFails) {
  auto path = std::filesystem::temp_directory_path() / "slipjet-no-such-folder" / "x.ini";
  EXPECT_FALSE(rt::ini_write(path.string(), "s", "k", "v"));
  EXPECT_TRUE(rt::ini_read(path.string(), "s", "k").empty());
}

// Whole sections, on both engines: the lines as stored, a replacement that
// keeps the other sections and the section's comments, a new section at
// the end, a large section read in full.
TEST(SettingsFileSections, ReadAndReplaceWholeSections) {
  auto path = (std::filesystem::temp_directory_path() / "slipjet-section-test.ini").string();
  std::ofstream(path, std::ios::binary)
      << "[a]\r\nx=1\r\n[dayin]\r\n1=甲,1,2\r\n wz = \"3\"\r\nbare\r\n[z]\r\ny=2\r\n";
  EXPECT_EQ(rt::ini_read_section(path, "DAYIN"),
            (std::vector<std::string>{"1=甲,1,2", "wz=\"3\"", "bare"}));
  EXPECT_TRUE(rt::ini_read_section(path, "missing").empty());

  ASSERT_TRUE(rt::ini_write_section(path, "dayin", {"1=乙,3,4", "2=丙,5,6", "wz=3"}));
  EXPECT_EQ(rt::ini_read(path, "dayin", "2").view(), "丙,5,6");
  EXPECT_EQ(rt::ini_read(path, "a", "x").view(), "1");
  EXPECT_EQ(rt::ini_read(path, "z", "y").view(), "2");
  EXPECT_TRUE(rt::ini_read(path, "dayin", "bare").empty());
  ASSERT_TRUE(rt::ini_write_section(path, "new", {"k=v"}));
  EXPECT_EQ(rt::ini_read(path, "new", "k").view(), "v");

  std::vector<std::string> many;
  for (int i = 1; i <= 2000; ++i) many.push_back(std::to_string(i) + "=" + std::string(40, 'x'));
  ASSERT_TRUE(rt::ini_write_section(path, "dayin", many));
  EXPECT_EQ(rt::ini_read_section(path, "dayin"), many);

  // Comment lines are lines of the section: written back, they stay where
  // they were (Wine's own section functions would drop them).
  std::ofstream(path, std::ios::binary)
      << "[dayin]\r\n; 模板由服务器更新\r\n1=甲,1,2\r\nwz=3\r\n;结尾\r\n[z]\r\ny=2\r\n";
  std::vector<std::string> lines = rt::ini_read_section(path, "dayin");
  ASSERT_EQ(lines, (std::vector<std::string>{"; 模板由服务器更新", "1=甲,1,2", "wz=3", ";结尾"}));
  lines[1] = "1=乙,3,4";
  ASSERT_TRUE(rt::ini_write_section(path, "dayin", lines));
  std::ifstream in(path, std::ios::binary);
  std::string file((std::istreambuf_iterator<char>(in)), {});
  in.close();
  size_t note = file.find("; 模板由服务器更新"), row = file.find("1=乙,3,4"), end = file.find(";结尾");
  ASSERT_NE(note, std::string::npos) << file;
  ASSERT_NE(end, std::string::npos) << file;
  EXPECT_LT(note, row);
  EXPECT_LT(row, end);
  EXPECT_LT(end, file.find("[z]"));
  EXPECT_EQ(file.find("; 模板由服务器更新", note + 1), std::string::npos);  // once
  std::filesystem::remove(path);
}

// A file system that refuses what Windows refuses and Wine allows (a new
// file created over a hidden one), keeps the attributes the host has not,
// and fails a write or a read when told to.
class WindowsRules : public rt::FileSystem {
 public:
  WindowsRules() : before_(rt::use_file_system(this)) {}
  ~WindowsRules() override { rt::use_file_system(before_); }

  intptr_t open(const std::string& path, int access, PlatformCreate create,
                PlatformShare share) override {
    if (create == PlatformCreate::create_always && (attributes_[path] & rt::kAttributeHidden))
      return -1;  // ERROR_ACCESS_DENIED
    return FileSystem::open(path, access, create, share);
  }
  bool write(intptr_t handle, std::string_view bytes) override {
    if (write_budget_ && bytes.size() > *write_budget_) {
      FileSystem::write(handle, bytes.substr(0, *write_budget_));
      return false;  // the disk is full
    }
    return FileSystem::write(handle, bytes);
  }
  int64_t read(intptr_t handle, void* buffer, size_t n) override {
    return fail_reads_ ? -1 : FileSystem::read(handle, buffer, n);
  }
  std::optional<uint32_t> attributes(const std::string& path) override {
    std::optional<uint32_t> found = FileSystem::attributes(path);
    if (!found) attributes_.erase(path);
    return found ? std::optional<uint32_t>(attributes_[path]) : std::nullopt;
  }
  bool set_attributes(const std::string& path, uint32_t attributes) override {
    attributes_[path] = attributes;
    return FileSystem::set_attributes(path, attributes);
  }
  bool replace(const std::string& from, const std::string& to) override {
    if (attributes_[to] & rt::kAttributeReadOnly) return false;
    attributes_[to] = attributes_[from];
    attributes_.erase(from);
    return FileSystem::replace(from, to);
  }

  std::map<std::string, uint32_t> attributes_;
  std::optional<size_t> write_budget_;
  bool fail_reads_ = false;

 private:
  rt::FileSystem* before_;
};

// What Windows does to cfg.ini (hidden at every start) and what a full
// disk or a failing read would: a section is written over a hidden file
// and it stays hidden; a write that fails midway or starts from a read
// that failed leaves the old file whole and no temporary file behind.
TEST(SettingsFileOnWindows, HiddenFilesFullDisksAndReadErrorsLoseNothing) {
  auto path = (std::filesystem::temp_directory_path() / "slipjet-hidden.ini").string();
  const std::string old = "[a]\r\nx=1\r\n[dayin]\r\n1=甲,1,2\r\n";
  std::ofstream(path, std::ios::binary) << old;
  auto contents = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  WindowsRules windows;
  windows.set_attributes(path, rt::kAttributeHidden);

  ASSERT_TRUE(rt::ini_write_section(path, "dayin", {"1=乙,3,4"}));
  EXPECT_EQ(contents(), "[a]\r\nx=1\r\n[dayin]\r\n1=乙,3,4\r\n");
  EXPECT_EQ(windows.attributes_[path], rt::kAttributeHidden);

  const std::string before = contents();
  windows.write_budget_ = 9;
  EXPECT_FALSE(rt::ini_write_section(path, "dayin", {"1=丙,5,6"}));
  EXPECT_EQ(contents(), before);
  windows.write_budget_.reset();

  windows.fail_reads_ = true;
  EXPECT_FALSE(rt::ini_write_section(path, "new", {"k=v"}));
  windows.fail_reads_ = false;
  EXPECT_EQ(contents(), before);
  windows.set_attributes(path, rt::kAttributeHidden | rt::kAttributeReadOnly);
  EXPECT_FALSE(rt::ini_write_section(path, "new", {"k=v"}));
  EXPECT_EQ(contents(), before);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  windows.set_attributes(path, 0x80);  // Windows deletes no read-only file
  std::filesystem::remove(path);
}

}  // namespace
