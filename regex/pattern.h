// The built-in regular-expression engine: the pattern language and matching
// rules of the system's VBScript-style service, over UTF-16 characters.
//
// Syntax: literals and escapes (\n \r \t \f \v \cX \xhh \uhhhh \0), ".",
// classes with ranges and negation, \d \D \s \S \w \W, anchors ^ $ \b \B,
// groups (capturing, "(?:", lookahead "(?=" and "(?!"), back-references,
// alternation, and the quantifiers * + ? {n} {n,} {n,m}, each greedy or,
// followed by "?", lazy. "." is any character but LF (so it matches CR).
// Matching is backtracking, leftmost-first.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace rx {

struct PatternOptions {
  bool ignore_case = false;
  bool multiline = false;  // ^ and $ also match next to CR and LF
};

// A stretch of the searched text in characters; begin -1: did not take part.
struct Span {
  int begin = -1;
  int end = -1;
};

enum class SearchOutcome {
  found,
  not_found,
  gave_up,  // the matcher hit its step or depth limit
};

struct SearchResult {
  SearchOutcome outcome = SearchOutcome::not_found;
  std::vector<Span> groups;  // [0] is the whole match, then each group
};

class CompiledPattern {
 public:
  // Nothing when the pattern is not valid.
  static std::optional<CompiledPattern> compile(std::u16string_view pattern,
                                                PatternOptions options);
  int group_count() const;
  // The leftmost match that starts at or after character `from`.
  SearchResult search(std::u16string_view text, size_t from) const;

  struct Program;

 private:
  explicit CompiledPattern(std::shared_ptr<const Program> program) : program_(std::move(program)) {}
  std::shared_ptr<const Program> program_;
};

// Simple case mapping of the letters found in code page 936 (ASCII,
// Latin, Greek, Cyrillic, full-width Latin, Roman numerals, circled
// letters); other characters map to themselves.
char16_t to_upper(char16_t c);
char16_t to_lower(char16_t c);

}  // namespace rx
