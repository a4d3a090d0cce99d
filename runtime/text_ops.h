// Text operations on GBK bytes. Positions and lengths count bytes and
// positions are 1-based; characters are walked as runtime/text_encoding.h
// says. Every result is a new block; empty results are the empty text.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/text.h"
#include "runtime/text_encoding.h"

namespace rt {

int text_len(std::string_view text);
Text left(std::string_view text, int n);
Text right(std::string_view text, int n);
Text mid(std::string_view text, int start, int n);

// First match at or after `start` (omitted or <= 0: 1), stepping whole
// characters, so a match never begins on a trail byte; -1 when none.
int find(std::string_view text, std::string_view sought, int start = 0, bool ignore_case = false);
// Last match ending at or before `start` (omitted or <= 0: the end),
// stepping single bytes; -1 when none.
int find_last(std::string_view text, std::string_view sought, int start = 0,
              bool ignore_case = false);

Text replace_range(std::string_view text, int start, int count, std::string_view replacement = {});
// Note the flag: left out, matching ignores ASCII case.
Text replace_sub(std::string_view text, std::string_view sought, std::string_view replacement = {},
                 int start = 1, int max_count = INT_MAX, bool case_sensitive = false);
// Separator omitted: ","; max count omitted: unlimited, negative: none.
TextArray split(std::string_view text, std::string_view separator = ",",
                std::optional<int> max_count = std::nullopt);

// Spaces are the byte 0x20 and the full-width space A1 A1 only.
Text trim_start(std::string_view text);
Text trim(std::string_view text);
Text strip_spaces(std::string_view text);
Text upper(std::string_view text);
Text lower(std::string_view text);
Text fullwidth(std::string_view text);
Text halfwidth(std::string_view text);

int compare(std::string_view a, std::string_view b, bool case_sensitive);
Text spaces(int n);
// The byte at `position` (omitted: 1) as a signed value; 0 out of range.
int code_at(std::string_view text, std::optional<int> position = std::nullopt);
Text char_of(int code);
Text hex(int32_t value);


}  // namespace rt
