// A fresh folder for cfg.ini per test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class SettingsFolder : public testing::Test {
 protected:
  void SetUp() override {
    // One folder per test, so test programs may run side by side.
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("slipjet-") + test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "cfg.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string file() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
  std::string path_;
};
