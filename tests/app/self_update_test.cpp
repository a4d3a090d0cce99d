// Checking a downloaded release and replacing the executable with it.
#include "app/self_update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/files.h"

namespace {

using namespace app;

net::HttpResponse answered(int status, std::string body, std::optional<uint64_t> length = {}) {
  net::HttpResponse r;
  r.status = status;
  r.body = std::move(body);
  r.announced_length = length;
  return r;
}

TEST(Download, CountsOnlyAWhole200Answer) {
  EXPECT_TRUE(is_complete(answered(200, "MZ")));
  EXPECT_TRUE(is_complete(answered(200, "MZ", 2)));
  EXPECT_FALSE(is_complete(answered(200, "MZ", 3)));  // cut short
  EXPECT_FALSE(is_complete(answered(200, "")));
  EXPECT_FALSE(is_complete(answered(404, "MZ")));
  EXPECT_FALSE(is_complete(answered(0, "MZ")));
  net::HttpResponse too_long = answered(200, "");
  too_long.too_long = true;
  EXPECT_FALSE(is_complete(too_long));
}

// The smallest PE image the check reads: "MZ", the header offset at 0x3C,
// "PE\0\0" and the machine there.
std::string image_for(uint16_t machine, uint32_t header = 0x40) {
  std::string image(header + 24, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  for (int i = 0; i < 4; ++i) image[0x3C + i] = char(header >> (8 * i));
  image.replace(header, 4, std::string("PE\0\0", 4));
  image[header + 4] = char(machine & 0xFF);
  image[header + 5] = char(machine >> 8);
  return image;
}

TEST(Download, ExecutableForThisMachineOnly) {
  EXPECT_TRUE(is_executable_for_this_machine(image_for(0x8664)));
  EXPECT_FALSE(is_executable_for_this_machine(image_for(0x014C)));
  EXPECT_FALSE(is_executable_for_this_machine("<html>更新</html>"));
  EXPECT_FALSE(is_executable_for_this_machine("MZ"));
  std::string image = image_for(0x8664);
  EXPECT_FALSE(is_executable_for_this_machine(image.substr(0, 0x40 + 5)));  // machine cut off
  image[0x3F] = char(0x7F);  // header offset far outside the file
  EXPECT_FALSE(is_executable_for_this_machine(image));
  image = image_for(0x8664);
  image[0x40] = 'X';
  EXPECT_FALSE(is_executable_for_this_machine(image));
}

const std::string kHash(64, 'a');

TEST(Download, ReleaseProblemsInOrder) {
  std::string image = image_for(0x8664);
  ReleaseManifest manifest{"slipjet.exe", "2.2", kHash, image.size()};
  EXPECT_EQ(check_release(answered(404, image), manifest), UpdateFailure::incomplete);
  EXPECT_EQ(check_release(answered(200, image + "x"), manifest), UpdateFailure::incomplete);
  EXPECT_EQ(check_release(answered(200, "<html>"), manifest), UpdateFailure::not_executable);
  // The host build hashes nothing: nothing is ever installed there.
  EXPECT_EQ(check_release(answered(200, image), manifest), UpdateFailure::not_signed);
  ReleaseManifest parsed;
  EXPECT_EQ(check_manifest(answered(404, ""), answered(404, ""), parsed),
            UpdateFailure::incomplete);
  EXPECT_EQ(check_manifest(answered(200, "program=slipjet.exe"), answered(404, ""), parsed),
            UpdateFailure::not_signed);
  EXPECT_EQ(check_manifest(answered(200, "program=slipjet.exe"),
                           answered(200, std::string(64, 's')), parsed),
            UpdateFailure::not_signed);
}

TEST(Manifest, AllFourFieldsOnceEach) {
  std::string text =
      "program=slipjet.exe\r\nversion=2.10\r\nlength=123\r\nsha256=" + kHash + "\r\n";
  auto m = parse_manifest(text);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->program, "slipjet.exe");
  EXPECT_EQ(m->version, "2.10");
  EXPECT_EQ(m->length, 123u);
  EXPECT_EQ(m->sha256, kHash);
  EXPECT_TRUE(parse_manifest("version=2.2\nprogram=x\nsha256=" + kHash + "\nlength=1\nnote=y"));
  EXPECT_FALSE(parse_manifest(text + "version=9.9\r\n"));  // repeated
  EXPECT_FALSE(parse_manifest("program=slipjet.exe\nversion=2.2\nlength=1\nsha256=ABC"));
  EXPECT_FALSE(parse_manifest("program=slipjet.exe\nversion=2.2\nlength=-1\nsha256=" + kHash));
  EXPECT_FALSE(parse_manifest("program=slipjet.exe\nversion=2.2\nsha256=" + kHash));
  EXPECT_FALSE(parse_manifest("garbage"));
  EXPECT_FALSE(parse_manifest(""));
}

TEST(Manifest, VersionsCompareNumberByNumber) {
  EXPECT_TRUE(is_newer_version("2.10", "2.9"));
  EXPECT_TRUE(is_newer_version("2.2", "2.1"));
  EXPECT_TRUE(is_newer_version("2.1.1", "2.1"));
  EXPECT_TRUE(is_newer_version("10", "9.9"));
  EXPECT_FALSE(is_newer_version("2.1", "2.1"));
  EXPECT_FALSE(is_newer_version("2.1.0", "2.1"));
  EXPECT_FALSE(is_newer_version("2.0", "2.1"));
  EXPECT_FALSE(is_newer_version("2.9", "2.10"));
  EXPECT_FALSE(is_newer_version("3.x", "2.1"));
  EXPECT_FALSE(is_newer_version("", "2.1"));
  EXPECT_FALSE(is_newer_version("3..1", "2.1"));
  EXPECT_FALSE(is_newer_version("99999999999", "2.1"));  // not a version number
  EXPECT_EQ(
      update_failure_text(UpdateFailure::not_newer, "2.0"),
      "更新失败：服务器提供的版本 2.0 不比当前版本 2.1 新，已拒绝安装。\r\n当前版本保持不变。");
}

class Replacement : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("slipjet-replace-" + std::to_string(testing::UnitTest::GetInstance()->random_seed()) +
         testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "slipjet.exe").string();
    write(path_, "old program");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  static void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string read(const std::string& path) {
    return rt::read_file(path).value_or("<none>");
  }
  int files() const {
    return int(std::distance(std::filesystem::directory_iterator(folder_),
                             std::filesystem::directory_iterator()));
  }

  std::filesystem::path folder_;
  std::string path_;
};

TEST_F(Replacement, NewProgramInPlaceOldOneAsTheLeftover) {
  ASSERT_EQ(replace_executable(path_, "new program"), ReplacementOutcome::replaced);
  EXPECT_EQ(read(path_), "new program");
  EXPECT_EQ(read(path_ + ".delete"), "old program");
  EXPECT_EQ(files(), 2);  // no temporary file left
}

TEST_F(Replacement, AnEarlierLeftoverIsReplaced) {
  write(path_ + ".delete", "older program");
  ASSERT_EQ(replace_executable(path_, "new program"), ReplacementOutcome::replaced);
  EXPECT_EQ(read(path_), "new program");
  EXPECT_EQ(read(path_ + ".delete"), "old program");
}

TEST_F(Replacement, AStaleTemporaryFileIsOverwritten) {
  write(download_path(path_), "half a download");
  ASSERT_EQ(replace_executable(path_, "new program"), ReplacementOutcome::replaced);
  EXPECT_EQ(read(path_), "new program");
  EXPECT_FALSE(rt::file_exists(download_path(path_)));
}

TEST_F(Replacement, TemporaryFileThatCannotBeWrittenLeavesEverythingAsItWas) {
  // A folder where the temporary file would go: it cannot be created.
  std::filesystem::create_directory(download_path(path_));
  EXPECT_EQ(replace_executable(path_, "new program"), ReplacementOutcome::unchanged);
  EXPECT_EQ(read(path_), "old program");
  EXPECT_FALSE(rt::file_exists(path_ + ".delete"));
}

TEST_F(Replacement, MissingExecutableFailsAndCleansUp) {
  std::filesystem::remove(path_);
  EXPECT_EQ(replace_executable(path_, "new program"), ReplacementOutcome::unchanged);
  EXPECT_FALSE(rt::file_exists(path_));
  EXPECT_FALSE(rt::file_exists(download_path(path_)));
  EXPECT_EQ(files(), 0);
}

TEST_F(Replacement, FailureMessagesSayTheProgramIsUnchanged) {
  for (UpdateFailure f :
       {UpdateFailure::incomplete, UpdateFailure::not_executable, UpdateFailure::not_signed,
        UpdateFailure::bad_manifest, UpdateFailure::not_newer, UpdateFailure::not_replaced})
    EXPECT_NE(update_failure_text(f).find("当前版本保持不变"), std::string::npos);
  // Never claimed when the old program could not be put back.
  EXPECT_EQ(update_failure_text(UpdateFailure::not_restored).find("当前版本保持不变"),
            std::string::npos);
}

}  // namespace
