#include "regex/regex_object.h"

namespace rx {

bool RegexObject::create(std::string_view pattern, std::optional<bool> ignore_case,
                         std::optional<bool> multiline, std::optional<bool> global) {
  service_ = create_regex_service();
  if (!service_) return false;
  service_->set_ignore_case(ignore_case.value_or(true));
  service_->set_multiline(multiline.value_or(true));
  service_->set_global(global.value_or(true));
  service_->set_pattern(pattern);
  return true;
}

std::string RegexObject::pattern() const { return service_ ? service_->pattern() : std::string(); }

std::string RegexObject::replace(std::string_view source, std::string_view replacement) const {
  if (!service_) return {};
  return service_->replace(source, replacement).value_or(std::string());
}

int RegexObject::execute(std::string_view text) {
  matches_ = service_ ? service_->execute(text) : nullptr;
  count_ = matches_ ? matches_->count() : 0;
  return count_;
}

std::string RegexObject::match_text(int i) const {
  if (!matches_) return {};
  return matches_->value(i - 1).value_or(std::string());
}

std::string RegexObject::submatch_text(int i, int j) const {
  if (!matches_) return {};
  return matches_->submatch(i - 1, j - 1).value_or(std::string());
}

int RegexObject::submatch_count() const {
  if (!matches_ || count_ <= 0) return 0;
  return matches_->submatch_count(0).value_or(0);
}

}  // namespace rx
