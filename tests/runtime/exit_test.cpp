// The fatal paths end the process, so each runs in a death test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "runtime/blocks.h"
#include "runtime/errors.h"
#include "runtime/heap.h"
#include "runtime/message_box.h"
#include "tests/runtime/boxes_to_stderr.h"

namespace {

void announce(const char* step) { std::fprintf(stderr, "step %s\n", step); }

void arm_all_steps() {
  show_boxes_on_stderr();
  rt_set_exit_step(RtExitStep::program_handler, [] { announce("program"); });
  rt_set_exit_step(RtExitStep::close_files, [] { announce("files"); });
  rt_set_exit_step(RtExitStep::library_shutdown, [] { announce("libraries"); });
  rt_set_exit_step(RtExitStep::dll_release, [] { announce("dlls"); });
}

const char all_steps[] = "step program\nstep files\nstep libraries\nstep dlls\n";

TEST(ExitDeathTest, ExitRunsEveryArmedStepInOrderThenEnds) {
  EXPECT_EXIT(
      {
        arm_all_steps();
        rt_exit(7);
      },
      testing::ExitedWithCode(7), all_steps);
}

TEST(ExitDeathTest, DisarmedStepsAreSkipped) {
  EXPECT_EXIT(
      {
        arm_all_steps();
        rt_set_exit_step(RtExitStep::close_files, nullptr);
        rt_exit(0);
      },
      testing::ExitedWithCode(0), "step program\nstep libraries\nstep dlls\n");
}

TEST(ExitDeathTest, AnErrorInsideAStepCarriesOnWithTheRest) {
  EXPECT_EXIT(
      {
        arm_all_steps();
        rt_set_exit_step(RtExitStep::program_handler, [] { rt_raise(5); });
        rt_exit(3);
      },
      testing::ExitedWithCode(0),
      "error number is 5\\..*\nstep files\nstep libraries\nstep dlls\n");
}

TEST(ExitDeathTest, RuntimeErrorShowsItsBoxAndRunsTheWholeSequence) {
  EXPECT_EXIT(
      {
        arm_all_steps();
        static char expected[128];
        std::snprintf(expected, sizeof expected, "program internal error number is 1. \r\n%s",
                      rt_error_description(1));
        expected_box_text = expected;
        rt_raise(1);
      },
      testing::ExitedWithCode(0),
      "box error\\|.*\\|icon 16\\|as expected\nstep program\nstep files");
}

TEST(ExitDeathTest, ErrorWithoutDescriptionStillEnds) {
  EXPECT_EXIT(
      {
        arm_all_steps();
        expected_box_text = "program internal error number is 100. \r\n";
        rt_raise(100);
      },
      testing::ExitedWithCode(0), "as expected\nstep program");
}

TEST(ExitDeathTest, OutOfMemoryShowsItsBoxAndExitsWithZero) {
  EXPECT_EXIT(
      {
        arm_all_steps();
        expected_box_text = "内存不足";
        rt_heap_fail_next(1);
        rt_alloc(16);
      },
      testing::ExitedWithCode(0), "box error\\|.*as expected\nstep program");
}

TEST(ExitDeathTest, SubscriptsOutsideTheArrayRaiseFourAndOne) {
  const int32_t sizes[] = {3};
  EXPECT_EXIT(
      {
        arm_all_steps();
        void* array = rt_array_new(sizes, 4);
        rt_array_at(array, 0, 4);
      },
      testing::ExitedWithCode(0), "error number is 4\\.");
  EXPECT_EXIT(
      {
        arm_all_steps();
        void* array = rt_array_new(sizes, 4);
        rt_array_at(array, 3, 4);  // the last element is fine
        rt_array_at(array, 4, 4);
      },
      testing::ExitedWithCode(0), "error number is 1\\.");
}

void redim(void** array, std::initializer_list<int32_t> sizes) {
  rt_array_redim(array, std::span<const int32_t>(sizes.begin(), sizes.size()), 4, false);
}

TEST(ExitDeathTest, RedimWithANegativeSizeRaisesTen) {
  EXPECT_EXIT(
      {
        arm_all_steps();
        void* array = nullptr;
        redim(&array, {0});  // a single dimension may be empty
        redim(&array, {2, 3});
        redim(&array, {2, 0});
      },
      testing::ExitedWithCode(0), "error number is 10\\.");
  EXPECT_EXIT(
      {
        arm_all_steps();
        void* array = nullptr;
        redim(&array, {-1});
      },
      testing::ExitedWithCode(0), "error number is 10\\.");
}

}  // namespace
