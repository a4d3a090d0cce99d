// The RegExp object: one regular-expression service instance, its options
// and pattern, and the matches of its last run, as GBK texts. Failures never
// stop the program: texts come back empty and counts 0.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "regex/regex_service.h"

namespace rx {

class RegexObject {
 public:
  // Copies hold further references to the same service and matches.
  RegexObject() = default;
  ~RegexObject() = default;
  RegexObject copy() const { return *this; }

  // A new service instance with the options (left out: true) and the
  // pattern; false when the service cannot be created.
  bool create(std::string_view pattern, std::optional<bool> ignore_case = std::nullopt,
              std::optional<bool> multiline = std::nullopt,
              std::optional<bool> global = std::nullopt);
  std::string pattern() const;
  std::string replace(std::string_view source, std::string_view replacement) const;
  // Runs the pattern over the text, keeps the matches, returns their count.
  int execute(std::string_view text);
  int match_count() const { return count_; }
  // Match i and group j are 1-based.
  std::string match_text(int i) const;
  std::string submatch_text(int i, int j) const;
  // The groups of the first match; 0 when the last run found nothing.
  int submatch_count() const;

 private:
  std::shared_ptr<RegexService> service_;
  std::shared_ptr<const RegexMatches> matches_;
  int count_ = 0;
};

}  // namespace rx
