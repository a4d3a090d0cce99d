// The system's regular-expression service ("VBScript.RegExp") through the
// automation bridge. Where the system has no such service (the component
// is being retired from Windows), the built-in engine stands in, so phones
// and goods are still found.
#include <atomic>

#include "regex/spelled_out_dot.h"
#include "regex/system_service.h"
#include "runtime/automation.h"

namespace rx {

namespace {

bool failed(const RtComObject& o) { return o.status < 0; }

// An automation object value released when it goes.
struct Held {
  RtComObject value;
  Held() = default;
  explicit Held(RtComObject v) : value(v) {}
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() { rt::com_release(value); }
};

class SystemMatches : public RegexMatches {
 public:
  SystemMatches(RtComObject collection, int count) : collection_(collection), count_(count) {}
  int count() const override { return count_; }

  std::optional<std::string> value(int index) const override {
    Held item(item_at(index));
    if (rt::com_is_empty(item.value)) return std::nullopt;
    rt::Text text = rt::com_get_text(item.value, "Value");
    if (failed(item.value)) return std::nullopt;
    return std::string(text.view());
  }

  std::optional<int> submatch_count(int index) const override {
    Held groups(submatches(index));
    if (rt::com_is_empty(groups.value)) return std::nullopt;
    double n = rt::com_get_number(groups.value, "Count");
    if (failed(groups.value)) return std::nullopt;
    return int(n);
  }

  std::optional<std::string> submatch(int index, int group) const override {
    Held groups(submatches(index));
    if (rt::com_is_empty(groups.value)) return std::nullopt;
    RtArg at = rt_int_arg(group);
    rt::Text text = rt::com_get_text(groups.value, "Item", std::span<const RtArg>(&at, 1));
    if (failed(groups.value)) return std::nullopt;
    return std::string(text.view());
  }

 private:
  RtComObject item_at(int index) const {
    RtArg at = rt_int_arg(index);
    return rt::com_get_object(collection_.value, "Item", std::span<const RtArg>(&at, 1));
  }
  RtComObject submatches(int index) const {
    Held item(item_at(index));
    if (rt::com_is_empty(item.value)) return {};
    return rt::com_get_object(item.value, "SubMatches");
  }

  mutable Held collection_;
  int count_;
};

class SystemService : public RegexService {
 public:
  explicit SystemService(RtComObject regexp) : regexp_(regexp) {}

  bool set_ignore_case(bool on) override { return set("IgnoreCase", rt_bool_arg(on)); }
  bool set_multiline(bool on) override { return set("Multiline", rt_bool_arg(on)); }
  bool set_global(bool on) override { return set("Global", rt_bool_arg(on)); }
  bool set_pattern(std::string_view gbk) override {
    std::string text = spelled_out_dot(gbk);
    if (!set("Pattern", rt_text_arg(text.c_str()))) return false;
    pattern_ = gbk;
    return true;
  }
  // The pattern as the caller gave it, not as the service was told.
  std::string pattern() const override { return pattern_; }

  std::shared_ptr<const RegexMatches> execute(std::string_view gbk) override {
    std::string text(gbk);
    RtArg arg = rt_text_arg(text.c_str());
    RtComObject collection =
        rt::com_call_object(regexp_.value, "Execute", std::span<const RtArg>(&arg, 1));
    if (failed(regexp_.value) || rt::com_is_empty(collection)) {
      rt::com_release(collection);
      return nullptr;
    }
    int count = int(rt::com_get_number(collection, "Count"));
    return std::make_shared<SystemMatches>(collection, count);
  }

  std::optional<std::string> replace(std::string_view source,
                                     std::string_view replacement) override {
    std::string a(source), b(replacement);
    RtArg args[] = {rt_text_arg(a.c_str()), rt_text_arg(b.c_str())};
    rt::Text result = rt::com_call_text(regexp_.value, "Replace", args);
    if (failed(regexp_.value)) return std::nullopt;
    return std::string(result.view());
  }

 private:
  bool set(const char* name, RtArg value) {
    return rt::com_set(regexp_.value, name, std::span<const RtArg>(&value, 1));
  }
  mutable Held regexp_;
  std::string pattern_;
};

}  // namespace

std::shared_ptr<RegexService> create_system_regex_service() {
  RtComObject regexp;
  if (!rt::com_create(regexp, "VBScript.RegExp")) return nullptr;
  return std::make_shared<SystemService>(regexp);
}

// A system without the component does not get it during a run, and asking
// again can take seconds each time (the activation tries every server
// kind), so the first failure settles it.
std::shared_ptr<RegexService> create_system_or_builtin_regex_service() {
  static std::atomic<bool> system_missing{false};
  if (!system_missing) {
    if (auto service = create_system_regex_service()) return service;
    system_missing = true;
  }
  return create_builtin_regex_service();
}

}  // namespace rx
