// Under Windows the recognition tests run on the program's own choice of
// regular-expression service: the system's, or the built-in engine where
// the system has none. SLIPJET_EXPECT_REGEX_SERVICE ("system" or "builtin")
// says which one this run must be on, so a run meant to be without the
// system's service cannot pass on it unnoticed.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>
#include <ole2.h>

#include <cstdlib>
#include <string>

#include "regex/system_service.h"

namespace {

class SystemRegexService : public testing::Environment {
 public:
  void SetUp() override {
    CoInitialize(nullptr);
    rx::set_regex_service_factory(rx::create_system_or_builtin_regex_service);
    const char* expected = std::getenv("SLIPJET_EXPECT_REGEX_SERVICE");
    if (!expected) return;
    std::string in_use = rx::create_system_regex_service() ? "system" : "builtin";
    ASSERT_EQ(in_use, expected) << "regular-expression service of this run";
  }
  void TearDown() override { rx::set_regex_service_factory(nullptr); }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new SystemRegexService);

}  // namespace
