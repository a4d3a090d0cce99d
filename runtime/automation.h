// The automation bridge: objects created by ProgID or class identifier and
// driven by member name, runtime values converted to and from variants.
// Every operation records its status in the object value; a failure never
// raises an error or shows anything. (Windows only.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "runtime/text.h"
#include "runtime/value.h"

inline constexpr uint32_t RT_COM_OBJECT = 0x00010030;
inline constexpr uint32_t RT_VARIANT = 0x00010031;
// The status of an operation on an empty object value.
inline constexpr int32_t RT_COM_NULL_OBJECT = int32_t(0x80004003);

// An automation object value: the object (an IUnknown, or null) and the
// status of the last operation on it.
struct RtComObject {
  void* object = nullptr;
  int32_t status = 0;
};

// A variant variable: the platform's VARIANT (16 bytes, 24 on 64-bit).
struct RtVariant {
  alignas(8) unsigned char bytes[sizeof(void*) == 8 ? 24 : 16] = {};
};

namespace rt {

bool com_create(RtComObject& target, std::string_view name,
                std::optional<std::string_view> type_library = std::nullopt);
void com_assign(RtComObject& target, const RtComObject& source);
void com_release(RtComObject& target);
bool com_is_empty(const RtComObject& target);

// Property gets, puts (the new value is the last argument) and method calls.
// Arguments are runtime triples; a left-out last argument is not passed.
Text com_get_text(RtComObject& target, std::string_view name, std::span<const RtArg> args = {});
double com_get_number(RtComObject& target, std::string_view name, std::span<const RtArg> args = {});
bool com_get_bool(RtComObject& target, std::string_view name, std::span<const RtArg> args = {});
RtComObject com_get_object(RtComObject& target, std::string_view name,
                           std::span<const RtArg> args = {});
// A new heap block holding the variant.
RtVariant* com_get_variant(RtComObject& target, std::string_view name,
                           std::span<const RtArg> args = {});
bool com_set(RtComObject& target, std::string_view name, std::span<const RtArg> args);
void com_call(RtComObject& target, std::string_view name, std::span<const RtArg> args = {});
Text com_call_text(RtComObject& target, std::string_view name, std::span<const RtArg> args = {});
double com_call_number(RtComObject& target, std::string_view name,
                       std::span<const RtArg> args = {});
RtComObject com_call_object(RtComObject& target, std::string_view name,
                            std::span<const RtArg> args = {});

void variant_clear(RtVariant& variant);
// "真"/"假" for booleans; arrays by 1-based element (omitted or below 1:
// the first; past the end: empty).
Text variant_text(const RtVariant& variant, std::optional<int> index = std::nullopt);

}  // namespace rt

// The operations as runtime commands: the object variable's address first
// (type RT_COM_OBJECT with RT_BY_REF), then the name, then the arguments.
int32_t rt_com_create(int count, const RtArg* args);
void rt_com_assign(int count, const RtArg* args);
void rt_com_release(int count, const RtArg* args);
int32_t rt_com_is_empty(int count, const RtArg* args);
char* rt_com_get_text(int count, const RtArg* args);
double rt_com_get_number(int count, const RtArg* args);
int32_t rt_com_get_bool(int count, const RtArg* args);
RtComObject rt_com_get_object(int count, const RtArg* args);
RtVariant* rt_com_get_variant(int count, const RtArg* args);
int32_t rt_com_set(int count, const RtArg* args);
void rt_com_call(int count, const RtArg* args);
char* rt_com_call_text(int count, const RtArg* args);
double rt_com_call_number(int count, const RtArg* args);
RtComObject rt_com_call_object(int count, const RtArg* args);
void rt_variant_clear(int count, const RtArg* args);
char* rt_variant_text(int count, const RtArg* args);
