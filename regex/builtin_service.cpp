// The built-in engine as a regular-expression service. Texts are decoded to
// characters for matching; results are cut from the original GBK bytes, so
// they come back exactly as they were given.
#include <vector>

#include "regex/pattern.h"
#include "regex/regex_service.h"
#include "runtime/text_encoding.h"
#include "runtime/unicode.h"

namespace rx {

namespace {

// A searched text: its bytes and where each character starts.
struct SearchedText {
  std::string bytes;
  rt::DecodedText decoded;

  explicit SearchedText(std::string_view gbk) : bytes(gbk), decoded(rt::decode_gbk(gbk)) {}

  std::string_view slice(Span s) const {
    if (s.begin < 0) return {};
    size_t from = decoded.starts[size_t(s.begin)];
    return std::string_view(bytes).substr(from, decoded.starts[size_t(s.end)] - from);
  }
};

class BuiltinMatches : public RegexMatches {
 public:
  BuiltinMatches(std::shared_ptr<const SearchedText> text, std::vector<std::vector<Span>> matches)
      : text_(std::move(text)), matches_(std::move(matches)) {}

  int count() const override { return int(matches_.size()); }

  std::optional<std::string> value(int index) const override {
    if (!valid(index)) return std::nullopt;
    return std::string(text_->slice(matches_[size_t(index)][0]));
  }

  std::optional<int> submatch_count(int index) const override {
    if (!valid(index)) return std::nullopt;
    return int(matches_[size_t(index)].size()) - 1;
  }

  std::optional<std::string> submatch(int index, int group) const override {
    if (!valid(index) || group < 0 || group + 1 >= int(matches_[size_t(index)].size()))
      return std::nullopt;
    return std::string(text_->slice(matches_[size_t(index)][size_t(group) + 1]));
  }

 private:
  bool valid(int index) const { return index >= 0 && index < count(); }

  std::shared_ptr<const SearchedText> text_;
  std::vector<std::vector<Span>> matches_;
};

class BuiltinService : public RegexService {
 public:
  bool set_ignore_case(bool on) override { return set(options_.ignore_case, on); }
  bool set_multiline(bool on) override { return set(options_.multiline, on); }
  bool set_global(bool on) override {
    global_ = on;
    return true;
  }
  bool set_pattern(std::string_view gbk) override {
    pattern_ = gbk;
    compiled_.reset();
    return true;
  }
  std::string pattern() const override { return pattern_; }

  std::shared_ptr<const RegexMatches> execute(std::string_view gbk) override {
    auto text = std::make_shared<const SearchedText>(gbk);
    auto matches = find_all(*text);
    if (!matches) return nullptr;
    return std::make_shared<BuiltinMatches>(std::move(text), std::move(*matches));
  }

  std::optional<std::string> replace(std::string_view source,
                                     std::string_view replacement) override {
    SearchedText text(source);
    auto matches = find_all(text);
    if (!matches) return std::nullopt;
    std::string out;
    int done = 0;
    for (const auto& groups : *matches) {
      out += text.slice(Span{done, groups[0].begin});
      expand(replacement, text, groups, out);
      done = groups[0].end;
    }
    out += text.slice(Span{done, int(text.decoded.chars.size())});
    return out;
  }

 private:
  bool set(bool& option, bool on) {
    option = on;
    compiled_.reset();
    return true;
  }

  const CompiledPattern* compiled() {
    if (!compiled_) compiled_ = CompiledPattern::compile(rt::decode_gbk(pattern_).chars, options_);
    return compiled_ ? &*compiled_ : nullptr;
  }

  // Every match, or only the first without Global; an empty match moves the
  // next search on by one character. Nothing when the pattern is not valid
  // or the matcher gave up.
  std::optional<std::vector<std::vector<Span>>> find_all(const SearchedText& text) {
    const CompiledPattern* pattern = compiled();
    if (!pattern) return std::nullopt;
    std::u16string_view chars = text.decoded.chars;
    std::vector<std::vector<Span>> matches;
    for (size_t from = 0; from <= chars.size();) {
      SearchResult r = pattern->search(chars, from);
      if (r.outcome == SearchOutcome::gave_up) return std::nullopt;
      if (r.outcome == SearchOutcome::not_found) break;
      Span whole = r.groups[0];
      matches.push_back(std::move(r.groups));
      if (!global_) break;
      from = size_t(whole.end) + (whole.end == whole.begin ? 1 : 0);
    }
    return matches;
  }

  // Appends the replacement with its $ forms filled in from one match.
  static void expand(std::string_view replacement, const SearchedText& text,
                     const std::vector<Span>& groups, std::string& out) {
    int group_count = int(groups.size()) - 1;
    auto digit = [&](size_t i) {
      return i < replacement.size() && replacement[i] >= '0' && replacement[i] <= '9'
                 ? replacement[i] - '0'
                 : -1;
    };
    for (size_t i = 0; i < replacement.size();) {
      char c = replacement[i];
      if (c != '$' || i + 1 >= replacement.size()) {
        size_t n = rt::character_size(replacement, i);
        out.append(replacement.substr(i, n));
        i += n;
        continue;
      }
      char next = replacement[i + 1];
      int d1 = digit(i + 1), d2 = digit(i + 2);
      if (next == '$') {
        out += '$';
        i += 2;
      } else if (next == '&') {
        out += text.slice(groups[0]);
        i += 2;
      } else if (next == '`') {
        out += text.slice(Span{0, groups[0].begin});
        i += 2;
      } else if (next == '\'') {
        out += text.slice(Span{groups[0].end, int(text.decoded.chars.size())});
        i += 2;
      } else if (d1 >= 0 && d2 >= 0 && d1 * 10 + d2 >= 1 && d1 * 10 + d2 <= group_count) {
        out += text.slice(groups[size_t(d1 * 10 + d2)]);
        i += 3;
      } else if (d1 >= 1 && d1 <= group_count) {
        out += text.slice(groups[size_t(d1)]);
        i += 2;
      } else {
        out += '$';
        i += 1;
      }
    }
  }

  PatternOptions options_;
  bool global_ = false;
  std::string pattern_;
  std::optional<CompiledPattern> compiled_;
};

RegexServiceFactory service_factory = nullptr;

}  // namespace

std::shared_ptr<RegexService> create_builtin_regex_service() {
  return std::make_shared<BuiltinService>();
}

std::shared_ptr<RegexService> create_regex_service() {
  return service_factory ? service_factory() : create_builtin_regex_service();
}

void set_regex_service_factory(RegexServiceFactory factory) { service_factory = factory; }

}  // namespace rx
