#include "runtime/errors.h"

#include <cstdio>
#include <iterator>

#include "runtime/message_box.h"
#include "runtime/platform.h"

namespace {

const char* const descriptions[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误，通常是DLL参数数目不正确",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

std::function<void()> exit_steps[int(RtExitStep::count)];

}  // namespace

const char* rt_error_description(int n) {
  if (n < 1 || n > int(std::size(descriptions))) return nullptr;
  return descriptions[n - 1];
}

void rt_raise(int n) {
  const char* description = rt_error_description(n);
  char text[256];
  std::snprintf(text, sizeof text, "program internal error number is %d. \r\n%s", n,
                description ? description : "");
  rt_message_box(text, "error", RT_MB_ICONERROR);
  rt_exit(0);
}

void rt_set_exit_step(RtExitStep step, std::function<void()> fn) {
  exit_steps[int(step)] = std::move(fn);
}

void rt_exit(int code) {
  for (auto& slot : exit_steps) {
    std::function<void()> step = std::move(slot);
    slot = nullptr;
    if (step) step();
  }
  platform_end_process(code);
}
