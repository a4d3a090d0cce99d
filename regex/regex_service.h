// The regular-expression service behind the RegExp object: one instance
// with options and a pattern, run over GBK texts. The built-in engine is one
// implementation; the system's automation service can be another.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace rx {

// The matches of one run, read by 0-based index. Texts are GBK; nothing
// means the call failed (an index outside the matches, for instance).
class RegexMatches {
 public:
  virtual ~RegexMatches() = default;
  virtual int count() const = 0;
  virtual std::optional<std::string> value(int index) const = 0;
  virtual std::optional<int> submatch_count(int index) const = 0;
  virtual std::optional<std::string> submatch(int index, int group) const = 0;
};

class RegexService {
 public:
  virtual ~RegexService() = default;
  // Each returns whether the property was set.
  virtual bool set_ignore_case(bool on) = 0;
  virtual bool set_multiline(bool on) = 0;
  virtual bool set_global(bool on) = 0;
  virtual bool set_pattern(std::string_view gbk) = 0;
  virtual std::string pattern() const = 0;
  // All matches (only the first when Global is off); null when the call
  // fails, for example on a pattern that is not valid.
  virtual std::shared_ptr<const RegexMatches> execute(std::string_view gbk) = 0;
  // The source with matches replaced ($&, $`, $', $n, $nn, $$ expanded).
  virtual std::optional<std::string> replace(std::string_view source,
                                             std::string_view replacement) = 0;
};

using RegexServiceFactory = std::shared_ptr<RegexService> (*)();

// A new instance of the service in use; null when it cannot be created.
std::shared_ptr<RegexService> create_regex_service();
// Chooses the service (null: the built-in engine).
void set_regex_service_factory(RegexServiceFactory factory);

std::shared_ptr<RegexService> create_builtin_regex_service();

}  // namespace rx
