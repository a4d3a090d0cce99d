// The regular-expression support library: a regular-expression object and a
// match-result object on Boost.Regex over GBK bytes, reached through library
// commands. Every block a command returns comes from the runtime service
// (code 2024), so callers release it with rt_free.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/library.h"
#include "runtime/value.h"

// Type flags of the two classes in argument triples.
inline constexpr uint32_t RX_REGEX_TYPE = 0x00030001;
inline constexpr uint32_t RX_RESULT_TYPE = 0x00030002;

// A regular-expression variable: the implementation and a word the
// constructor sets to 1.
struct RxRegexVariable {
  void* implementation;
  uint32_t constructed;
};

// One group of a match: 0-based byte offset from the start of the searched
// text, length in bytes, and whether the group took part.
struct RxMatchRecord {
  int32_t offset;
  int32_t length;
  uint8_t matched;
};

// A match-result variable (and the holder rx_search returns): one pointer to
// the list of records; record 0 is the whole match, an empty list no match.
struct RxResultVariable {
  std::vector<RxMatchRecord>* records;
};

// The library's notification entry: keeps the service function on start,
// answers everything else with -1.
int rx_library_notify(int code, intptr_t p1, intptr_t p2);

void rx_new(RtArg* result, int count, RtArg* args);
void rx_free(RtArg* result, int count, RtArg* args);
void rx_compile(RtArg* result, int count, RtArg* args);
void rx_search(RtArg* result, int count, RtArg* args);
void rx_result_new(RtArg* result, int count, RtArg* args);
void rx_result_free(RtArg* result, int count, RtArg* args);
void rx_match_text(RtArg* result, int count, RtArg* args);
