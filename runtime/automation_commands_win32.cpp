// The automation operations as runtime commands.
#include "runtime/automation.h"
#include "runtime/command_args.h"

namespace {

RtComObject& object_arg(const RtArg* args) {
  return *static_cast<RtComObject*>(rt_arg_pointer(args[0]));
}
RtVariant& variant_arg(const RtArg* args) {
  return *static_cast<RtVariant*>(rt_arg_pointer(args[0]));
}
std::span<const RtArg> member_args(int count, const RtArg* args) {
  return count > 2 ? std::span<const RtArg>(args + 2, size_t(count - 2)) : std::span<const RtArg>();
}

// Every member command: the object, the name, the member's arguments.
template <typename Operation>
auto on_member(int count, const RtArg* args, Operation operation) {
  CommandArgs a(count, args);
  return operation(object_arg(args), a.text(1), member_args(count, args));
}

}  // namespace

int32_t rt_com_create(int count, const RtArg* args) {
  CommandArgs a(count, args);
  std::optional<std::string_view> library;
  if (a.given(2)) library = a.text(2);
  return rt::com_create(object_arg(args), a.text(1), library);
}
void rt_com_assign(int, const RtArg* args) {
  rt::com_assign(object_arg(args), *static_cast<RtComObject*>(rt_arg_pointer(args[1])));
}
void rt_com_release(int, const RtArg* args) { rt::com_release(object_arg(args)); }
int32_t rt_com_is_empty(int, const RtArg* args) { return rt::com_is_empty(object_arg(args)); }

char* rt_com_get_text(int count, const RtArg* args) {
  return on_member(count, args, [](auto& o, auto n, auto m) { return rt::com_get_text(o, n, m); })
      .release();
}
double rt_com_get_number(int count, const RtArg* args) {
  return on_member(count, args,
                   [](auto& o, auto n, auto m) { return rt::com_get_number(o, n, m); });
}
int32_t rt_com_get_bool(int count, const RtArg* args) {
  return on_member(count, args, [](auto& o, auto n, auto m) { return rt::com_get_bool(o, n, m); });
}
RtComObject rt_com_get_object(int count, const RtArg* args) {
  return on_member(count, args,
                   [](auto& o, auto n, auto m) { return rt::com_get_object(o, n, m); });
}
RtVariant* rt_com_get_variant(int count, const RtArg* args) {
  return on_member(count, args,
                   [](auto& o, auto n, auto m) { return rt::com_get_variant(o, n, m); });
}
int32_t rt_com_set(int count, const RtArg* args) {
  return on_member(count, args, [](auto& o, auto n, auto m) { return rt::com_set(o, n, m); });
}
void rt_com_call(int count, const RtArg* args) {
  on_member(count, args, [](auto& o, auto n, auto m) {
    rt::com_call(o, n, m);
    return 0;
  });
}
char* rt_com_call_text(int count, const RtArg* args) {
  return on_member(count, args, [](auto& o, auto n, auto m) { return rt::com_call_text(o, n, m); })
      .release();
}
double rt_com_call_number(int count, const RtArg* args) {
  return on_member(count, args,
                   [](auto& o, auto n, auto m) { return rt::com_call_number(o, n, m); });
}
RtComObject rt_com_call_object(int count, const RtArg* args) {
  return on_member(count, args,
                   [](auto& o, auto n, auto m) { return rt::com_call_object(o, n, m); });
}
void rt_variant_clear(int, const RtArg* args) { rt::variant_clear(variant_arg(args)); }
char* rt_variant_text(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::variant_text(variant_arg(args), a.optional_integer(1)).release();
}
