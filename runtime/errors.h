// Fatal runtime errors and the single exit sequence of the program.
#pragma once

#include <functional>

// The description of runtime error n (GBK), or null where there is none.
const char* rt_error_description(int n);

// Shows "program internal error number is N. \r\n<description>" in an error
// box and runs the exit sequence with exit code 0.
[[noreturn]] void rt_raise(int n);

// The steps of the exit sequence, in the order they run. Each step is a slot
// that its module arms (non-empty) or disarms (null); a step may carry its
// context, such as the object it releases.
enum class RtExitStep {
  program_handler,   // the program's own exit routine
  close_files,       // files still open
  library_shutdown,  // shutdown notification to the support libraries
  dll_release,       // DLLs loaded by the binder
  count
};
void rt_set_exit_step(RtExitStep step, std::function<void()> fn);

// Runs the armed steps in order, then ends the process with `code`. Each step
// is disarmed before it runs, so a fatal error inside a step carries on with
// the steps after it instead of looping.
[[noreturn]] void rt_exit(int code);
