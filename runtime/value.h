// The runtime's value model: type flags, argument triples and block layouts.
#pragma once

#include <cstdint>
#include <cstring>

// Type flags (high bit set for every basic kind).
inline constexpr uint32_t RT_BYTE = 0x80000101;
inline constexpr uint32_t RT_SHORT = 0x80000201;
inline constexpr uint32_t RT_INT = 0x80000301;
inline constexpr uint32_t RT_INT64 = 0x80000401;
inline constexpr uint32_t RT_FLOAT = 0x80000501;
inline constexpr uint32_t RT_DOUBLE = 0x80000601;
inline constexpr uint32_t RT_BOOL = 0x80000002;
inline constexpr uint32_t RT_DATETIME = 0x80000003;
inline constexpr uint32_t RT_TEXT = 0x80000004;
inline constexpr uint32_t RT_BYTES = 0x80000005;
inline constexpr uint32_t RT_SUBROUTINE = 0x80000006;
// Added to a flag: the argument is storage (an array block, or the address
// of the caller's variable for a parameter that writes back).
inline constexpr uint32_t RT_BY_REF = 0x20000000;
// A left-out optional argument.
inline constexpr uint32_t RT_OMITTED = 0;

// One argument of a runtime command: 12 bytes. A pointer takes value and
// high together (low half in value), so 64-bit builds keep the layout.
struct RtArg {
  uint32_t value = 0;
  uint32_t high = 0;
  uint32_t type = RT_OMITTED;
};
static_assert(sizeof(RtArg) == 12);

// True for the kinds that hold a number.
inline bool rt_is_number_type(uint32_t type) {
  switch (type) {
    case RT_BYTE:
    case RT_SHORT:
    case RT_INT:
    case RT_INT64:
    case RT_FLOAT:
    case RT_DOUBLE:
    case RT_SUBROUTINE: return true;
    default: return false;
  }
}

inline uint32_t rt_base_type(uint32_t type) { return type & ~RT_BY_REF; }
inline bool rt_is_ref(uint32_t type) { return (type & RT_BY_REF) != 0; }

inline void* rt_arg_pointer(const RtArg& a) {
  uint64_t bits = (uint64_t(a.high) << 32) | a.value;
  return reinterpret_cast<void*>(static_cast<uintptr_t>(bits));
}

inline RtArg rt_pointer_arg(const void* p, uint32_t type) {
  uint64_t bits = reinterpret_cast<uintptr_t>(p);
  return RtArg{uint32_t(bits), uint32_t(bits >> 32), type};
}

inline RtArg rt_int_arg(int32_t v) { return RtArg{uint32_t(v), 0, RT_INT}; }
inline RtArg rt_bool_arg(bool v) { return RtArg{v ? 1u : 0u, 0, RT_BOOL}; }
inline RtArg rt_text_arg(const char* text) { return rt_pointer_arg(text, RT_TEXT); }
inline RtArg rt_omitted() { return RtArg{}; }

inline RtArg rt_64bit_arg(uint64_t bits, uint32_t type) {
  return RtArg{uint32_t(bits), uint32_t(bits >> 32), type};
}
inline RtArg rt_int64_arg(int64_t v) { return rt_64bit_arg(uint64_t(v), RT_INT64); }
inline RtArg rt_double_arg(double v, uint32_t type = RT_DOUBLE) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return rt_64bit_arg(bits, type);
}
inline RtArg rt_float_arg(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return RtArg{bits, 0, RT_FLOAT};
}

inline uint64_t rt_arg_bits64(const RtArg& a) { return (uint64_t(a.high) << 32) | a.value; }
inline double rt_arg_double(const RtArg& a) {
  uint64_t bits = rt_arg_bits64(a);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
inline float rt_arg_float(const RtArg& a) {
  float v;
  std::memcpy(&v, &a.value, sizeof v);
  return v;
}

// Width of one element of a kind in records and arrays; pointers and
// subroutine addresses are pointer-sized. 0 for an unknown kind.
int rt_type_width(uint32_t type);
