// The end-to-end suite's entry point: the tests, then an immediate end.
// Once every result is printed, the process ends without the library
// teardown of a normal exit: under Wine that teardown (the printing,
// imaging and socket libraries the tests loaded) has hung after all tests
// had passed, holding the suite until its time-out. Each test already
// stopped the program it started and removed its files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), UINT(result));
  return result;
}
