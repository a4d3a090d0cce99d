#include "runtime/message_box.h"

#include "runtime/platform.h"

namespace {
RtMessageBoxHook message_box_hook = nullptr;
}

int rt_message_box(const char* text, const char* caption, unsigned type, uintptr_t owner) {
  if (!text) text = "";
  if (!caption) caption = "";
  if (message_box_hook) return message_box_hook(text, caption, type, owner);
  return platform_message_box(text, caption, type, owner);
}

void rt_set_message_box_hook(RtMessageBoxHook hook) { message_box_hook = hook; }
