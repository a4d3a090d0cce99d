#include "regex/rx_commands.h"

#include <boost/regex.hpp>
#include <cstring>
#include <new>
#include <string>

#include "runtime/command_args.h"

namespace {

RtServiceFunction service = nullptr;

struct RegexImplementation {
  boost::regex* expression;
  uint32_t reserved;
};

void* service_alloc(size_t n) {
  return service ? reinterpret_cast<void*>(service(2024, intptr_t(n), 0)) : nullptr;
}

template <typename T>
T* object_variable(const RtArg* args, int count, int i) {
  if (i >= count || args[i].type == RT_OMITTED) return nullptr;
  return static_cast<T*>(rt_arg_pointer(args[i]));
}

RegexImplementation* implementation_of(const RtArg* args, int count) {
  auto* variable = object_variable<RxRegexVariable>(args, count, 0);
  return variable ? static_cast<RegexImplementation*>(variable->implementation) : nullptr;
}

// Groups of a match as records, offsets from the start of the whole text.
void record_match(const boost::cmatch& match, const char* text_start,
                  std::vector<RxMatchRecord>& records) {
  for (size_t g = 0; g < match.size(); ++g) {
    const auto& group = match[int(g)];
    records.push_back(RxMatchRecord{int32_t(group.first - text_start),
                                    int32_t(group.second - group.first),
                                    uint8_t(group.matched ? 1 : 0)});
  }
}

}  // namespace

int rx_library_notify(int code, intptr_t p1, intptr_t) {
  if (code != RT_NOTIFY_START) return -1;
  service = reinterpret_cast<RtServiceFunction>(p1);
  return 0;
}

void rx_new(RtArg*, int count, RtArg* args) {
  auto* variable = object_variable<RxRegexVariable>(args, count, 0);
  if (!variable) return;
  variable->implementation = new (std::nothrow) RegexImplementation{nullptr, 0};
  variable->constructed = 1;
}

void rx_free(RtArg*, int count, RtArg* args) {
  auto* variable = object_variable<RxRegexVariable>(args, count, 0);
  if (!variable || !variable->implementation) return;
  auto* impl = static_cast<RegexImplementation*>(variable->implementation);
  delete impl->expression;
  delete impl;
  variable->implementation = nullptr;
}

void rx_compile(RtArg* result, int count, RtArg* args) {
  result->type = RT_BOOL;
  RegexImplementation* impl = implementation_of(args, count);
  if (!impl) return;
  CommandArgs a(count, args);
  bool case_sensitive = a.given(2) ? a.flag(2) : true;
  auto flags = boost::regex::perl | (case_sensitive ? boost::regex::normal : boost::regex::icase);
  delete impl->expression;
  impl->expression = nullptr;
  std::string_view pattern = a.text(1);
  try {
    impl->expression = new boost::regex(pattern.data(), pattern.data() + pattern.size(), flags);
    result->value = 1;
  } catch (...) {
  }
}

void rx_search(RtArg* result, int count, RtArg* args) {
  auto* holder = static_cast<RxResultVariable*>(service_alloc(sizeof(RxResultVariable)));
  if (!holder) return;
  holder->records = new (std::nothrow) std::vector<RxMatchRecord>();
  *result = rt_pointer_arg(holder, RX_RESULT_TYPE);
  RegexImplementation* impl = implementation_of(args, count);
  CommandArgs a(count, args);
  std::string text(a.text(1));
  int64_t n = int64_t(text.size());
  int64_t start = a.integer(2);
  int64_t length = a.given(3) ? a.integer(3) : n - start + 1;
  if (!holder->records || !impl || !impl->expression || start <= 0 || start > n ||
      start + length > n + 1 || length < 0)
    return;
  const char* first = text.data() + (start - 1);
  try {
    boost::cmatch match;
    if (boost::regex_search(first, first + length, match, *impl->expression, boost::format_all))
      record_match(match, text.data(), *holder->records);
  } catch (...) {
    holder->records->clear();
  }
}

void rx_result_new(RtArg*, int count, RtArg* args) {
  auto* variable = object_variable<RxResultVariable>(args, count, 0);
  if (variable) variable->records = new (std::nothrow) std::vector<RxMatchRecord>();
}

void rx_result_free(RtArg*, int count, RtArg* args) {
  auto* variable = object_variable<RxResultVariable>(args, count, 0);
  if (!variable) return;
  delete variable->records;
  variable->records = nullptr;
}

void rx_match_text(RtArg* result, int count, RtArg* args) {
  result->type = RT_TEXT;
  auto* holder = object_variable<RxResultVariable>(args, count, 0);
  if (!holder || !holder->records || holder->records->empty()) return;
  const RxMatchRecord& whole = holder->records->front();
  if (!whole.matched) return;
  CommandArgs a(count, args);
  if (a.given(2) && args[2].type == (RT_INT | RT_BY_REF))
    *static_cast<int32_t*>(rt_arg_pointer(args[2])) = whole.offset;
  std::string_view text = a.text(1);
  // A different, shorter text than the one searched gives only what it has.
  size_t from = std::min(size_t(whole.offset), text.size());
  size_t n = std::min(size_t(whole.length), text.size() - from);
  if (n == 0) return;
  auto* block = static_cast<char*>(service_alloc(n + 1));
  if (!block) return;
  std::memcpy(block, text.data() + from, n);
  block[n] = '\0';
  *result = rt_pointer_arg(block, RT_TEXT);
}
