#include "regex/pattern.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace rx {

namespace {

constexpr int kUnbounded = std::numeric_limits<int>::max();
// Limits that turn a runaway match into "gave up" instead of a hang or a
// stack overflow: steps per start position, nested recursion.
constexpr long kMaxSteps = 2'000'000;
constexpr int kMaxDepth = 2000;

bool is_word_char(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_';
}
bool is_space_char(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool is_digit_char(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_line_end(char16_t c) { return c == u'\n' || c == u'\r'; }

// Named classes, as bits so that a class can hold several.
enum NamedClass : uint8_t {
  digit = 1,
  not_digit = 2,
  space = 4,
  not_space = 8,
  word = 16,
  not_word = 32,
};

bool in_named(uint8_t named, char16_t c) {
  return ((named & digit) && is_digit_char(c)) || ((named & not_digit) && !is_digit_char(c)) ||
         ((named & space) && is_space_char(c)) || ((named & not_space) && !is_space_char(c)) ||
         ((named & word) && is_word_char(c)) || ((named & not_word) && !is_word_char(c));
}

struct CharClass {
  std::vector<std::pair<char16_t, char16_t>> ranges;
  uint8_t named = 0;
  bool negated = false;

  bool holds(char16_t c) const {
    if (in_named(named, c)) return true;
    for (auto [low, high] : ranges)
      if (c >= low && c <= high) return true;
    return false;
  }
};

enum class Op : uint8_t {
  match_end,
  char_test,
  repeat_char,
  alternatives,
  group_open,
  group_close,
  repeat,
  repeat_tail,
  line_start,
  line_end,
  word_boundary,
  not_word_boundary,
  back_reference,
  lookahead,
  lookahead_end,
};

// One character test: a literal, any character but LF, or a class.
struct CharTest {
  enum Kind : uint8_t { literal, any, char_class } kind = literal;
  char16_t ch = 0;
  int class_index = -1;
  char16_t other_case = 0;  // the literal's other case when case is ignored
};

struct Node {
  explicit Node(Op o = Op::match_end, int following = -1) : op(o), next(following) {}
  Op op;
  int next;
  CharTest test;
  int index = 0;  // group number, repeat number, or the repeat node of a tail
  int body = -1;
  int min = 0;
  int max = 0;
  bool greedy = true;
  bool negate = false;
  std::vector<int> branches;
};

// The parsed pattern, before it is laid out as linked nodes.
struct Ast {
  enum Kind : uint8_t {
    empty,
    char_test,
    sequence,
    alternatives,
    group,
    non_capturing,
    lookahead,
    negative_lookahead,
    repeat,
    line_start,
    line_end,
    word_boundary,
    not_word_boundary,
    back_reference,
  };
  Ast(Kind k = empty) : kind(k) {}
  Kind kind;
  CharTest test;
  int index = 0;
  int min = 0;
  int max = 0;
  bool greedy = true;
  std::vector<Ast> children;
};

}  // namespace

struct CompiledPattern::Program {
  std::vector<Node> nodes;
  std::vector<CharClass> classes;
  int start = -1;
  int groups = 0;
  int repeats = 0;
  PatternOptions options;

  bool test(const CharTest& t, char16_t c) const {
    switch (t.kind) {
      case CharTest::any: return c != u'\n';
      case CharTest::literal: return c == t.ch || c == t.other_case;
      case CharTest::char_class: {
        const CharClass& cls = classes[size_t(t.class_index)];
        bool held = cls.holds(c) ||
                    (options.ignore_case && (cls.holds(to_upper(c)) || cls.holds(to_lower(c))));
        return held != cls.negated;
      }
    }
    return false;
  }
};

namespace {

class Parser {
 public:
  Parser(std::u16string_view pattern, CompiledPattern::Program& program)
      : p_(pattern), program_(program), total_groups_(count_groups(pattern)) {}

  bool parse(Ast& out) {
    out = alternatives();
    return ok_ && at_ == p_.size();
  }

 private:
  static int count_groups(std::u16string_view p) {
    int n = 0;
    bool in_class = false;
    for (size_t i = 0; i < p.size(); ++i) {
      if (p[i] == u'\\') {
        ++i;
      } else if (in_class) {
        in_class = p[i] != u']';
      } else if (p[i] == u'[') {
        in_class = true;
      } else if (p[i] == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
        ++n;
      }
    }
    return n;
  }

  bool more() const { return at_ < p_.size(); }
  char16_t peek() const { return p_[at_]; }
  bool fail() { return ok_ = false; }

  Ast alternatives() {
    Ast first = sequence();
    if (!more() || peek() != u'|') return first;
    Ast alt{Ast::alternatives};
    alt.children.push_back(std::move(first));
    while (ok_ && more() && peek() == u'|') {
      ++at_;
      alt.children.push_back(sequence());
    }
    return alt;
  }

  Ast sequence() {
    Ast seq{Ast::sequence};
    while (ok_ && more() && peek() != u'|' && peek() != u')') seq.children.push_back(term());
    return seq;
  }

  Ast term() {
    Ast atom_ast = atom();
    if (!ok_) return atom_ast;
    int min = 0, max = 0;
    if (!quantifier(min, max)) return atom_ast;
    bool assertion = atom_ast.kind == Ast::line_start || atom_ast.kind == Ast::line_end ||
                     atom_ast.kind == Ast::word_boundary || atom_ast.kind == Ast::not_word_boundary;
    if (assertion) {
      fail();
      return atom_ast;
    }
    Ast rep{Ast::repeat};
    rep.min = min;
    rep.max = max;
    if (more() && peek() == u'?') {
      rep.greedy = false;
      ++at_;
    }
    rep.children.push_back(std::move(atom_ast));
    return rep;
  }

  // Reads a quantifier at the current position, if there is one.
  bool quantifier(int& min, int& max) {
    if (!more()) return false;
    switch (peek()) {
      case u'*':
        ++at_;
        min = 0;
        max = kUnbounded;
        return true;
      case u'+':
        ++at_;
        min = 1;
        max = kUnbounded;
        return true;
      case u'?':
        ++at_;
        min = 0;
        max = 1;
        return true;
      case u'{': return braces(min, max);
      default: return false;
    }
  }

  // "{n}", "{n,}" or "{n,m}"; anything else leaves "{" a literal.
  bool braces(int& min, int& max) {
    size_t i = at_ + 1;
    auto number = [&](int& value) {
      size_t begin = i;
      long long v = 0;
      while (i < p_.size() && is_digit_char(p_[i])) {
        v = std::min<long long>(v * 10 + (p_[i] - u'0'), kUnbounded - 1);
        ++i;
      }
      value = int(v);
      return i > begin;
    };
    if (!number(min)) return false;
    max = min;
    if (i < p_.size() && p_[i] == u',') {
      ++i;
      if (!number(max)) max = kUnbounded;
    }
    if (i >= p_.size() || p_[i] != u'}') return false;
    if (max < min) fail();
    at_ = i + 1;
    return true;
  }

  Ast atom() {
    char16_t c = p_[at_++];
    switch (c) {
      case u'^': return Ast{Ast::line_start};
      case u'$': return Ast{Ast::line_end};
      case u'.': return char_ast(CharTest{CharTest::any});
      case u'(': return group();
      case u'[': return char_ast(char_class());
      case u'\\': return escape();
      case u'*':
      case u'+':
      case u'?': fail(); return {};
      case u'{': {
        --at_;
        int min = 0, max = 0;
        if (braces(min, max)) {
          fail();
          return {};
        }
        ++at_;
        return literal_ast(c);
      }
      default: return literal_ast(c);
    }
  }

  static Ast char_ast(CharTest t) {
    Ast a{Ast::char_test};
    a.test = t;
    return a;
  }

  Ast literal_ast(char16_t c) const {
    char16_t other = c;
    if (program_.options.ignore_case) other = to_upper(c) != c ? to_upper(c) : to_lower(c);
    return char_ast(CharTest{CharTest::literal, c, -1, other});
  }

  Ast group() {
    Ast g{Ast::group};
    if (more() && peek() == u'?') {
      if (at_ + 1 >= p_.size()) {
        fail();
        return g;
      }
      char16_t kind = p_[at_ + 1];
      if (kind == u':')
        g.kind = Ast::non_capturing;
      else if (kind == u'=')
        g.kind = Ast::lookahead;
      else if (kind == u'!')
        g.kind = Ast::negative_lookahead;
      else {
        fail();
        return g;
      }
      at_ += 2;
    } else {
      g.index = ++program_.groups;
    }
    g.children.push_back(alternatives());
    if (!more() || peek() != u')') {
      fail();
      return g;
    }
    ++at_;
    return g;
  }

  CharTest char_class() {
    CharClass cls;
    if (more() && peek() == u'^') {
      cls.negated = true;
      ++at_;
    }
    while (ok_ && more() && peek() != u']') {
      uint8_t named = 0;
      char16_t low = class_char(named);
      if (named) {
        cls.named |= named;
        continue;
      }
      char16_t high = low;
      if (at_ + 1 < p_.size() && peek() == u'-' && p_[at_ + 1] != u']') {
        ++at_;
        high = class_char(named);
        if (named) {  // "a-\d": the hyphen is a literal
          cls.ranges.push_back({low, low});
          cls.ranges.push_back({u'-', u'-'});
          cls.named |= named;
          continue;
        }
        if (high < low) fail();
      }
      cls.ranges.push_back({low, high});
    }
    if (!more()) fail();
    ++at_;
    program_.classes.push_back(std::move(cls));
    return CharTest{CharTest::char_class, 0, int(program_.classes.size() - 1)};
  }

  // One member of a class; sets `named` for \d \s \w and their negations.
  char16_t class_char(uint8_t& named) {
    char16_t c = p_[at_++];
    if (c != u'\\') return c;
    if (!more()) {
      fail();
      return 0;
    }
    char16_t e = p_[at_];
    if (uint8_t n = named_class(e)) {
      ++at_;
      named = n;
      return 0;
    }
    if (e == u'b') {
      ++at_;
      return u'\b';
    }
    return escaped_char();
  }

  static uint8_t named_class(char16_t e) {
    switch (e) {
      case u'd': return digit;
      case u'D': return not_digit;
      case u's': return space;
      case u'S': return not_space;
      case u'w': return word;
      case u'W': return not_word;
      default: return 0;
    }
  }

  Ast escape() {
    if (!more()) {
      fail();
      return {};
    }
    char16_t e = peek();
    if (uint8_t n = named_class(e)) {
      ++at_;
      CharClass cls;
      cls.named = n;
      program_.classes.push_back(std::move(cls));
      return char_ast(CharTest{CharTest::char_class, 0, int(program_.classes.size() - 1)});
    }
    if (e == u'b' || e == u'B') {
      ++at_;
      return Ast{e == u'b' ? Ast::word_boundary : Ast::not_word_boundary};
    }
    if (e >= u'1' && e <= u'9') return numbered_escape();
    return literal_ast(escaped_char());
  }

  // "\n": a back-reference to the longest group number that exists, else an
  // octal character code (or the digit itself for 8 and 9).
  Ast numbered_escape() {
    int n = 0, group = 0;
    size_t group_end = at_;
    for (size_t i = at_; i < p_.size() && is_digit_char(p_[i]); ++i) {
      n = n * 10 + (p_[i] - u'0');
      if (n > total_groups_) break;
      group = n;
      group_end = i + 1;
    }
    if (group > 0) {
      at_ = group_end;
      Ast ref{Ast::back_reference};
      ref.index = group;
      return ref;
    }
    unsigned code = 0;
    size_t digits = 0;
    while (digits < 3 && more() && peek() >= u'0' && peek() <= u'7' &&
           code * 8 + (peek() - u'0') <= 0377) {
      code = code * 8 + (p_[at_++] - u'0');
      ++digits;
    }
    if (digits == 0) code = p_[at_++];
    return literal_ast(char16_t(code));
  }

  // The character of an escape sequence (after the backslash).
  char16_t escaped_char() {
    char16_t e = p_[at_++];
    switch (e) {
      case u'n': return u'\n';
      case u'r': return u'\r';
      case u't': return u'\t';
      case u'f': return u'\f';
      case u'v': return u'\v';
      case u'0': return 0;
      case u'c':
        if (more() && ((peek() >= u'a' && peek() <= u'z') || (peek() >= u'A' && peek() <= u'Z')))
          return char16_t(p_[at_++] % 32);
        return u'c';
      case u'x': return hex_escape(2, e);
      case u'u': return hex_escape(4, e);
      default: return e;
    }
  }

  // \xhh and \uhhhh; with too few hex digits the letter stands for itself.
  char16_t hex_escape(size_t digits, char16_t letter) {
    if (at_ + digits > p_.size()) return letter;
    unsigned value = 0;
    for (size_t i = 0; i < digits; ++i) {
      char16_t h = p_[at_ + i];
      int v = is_digit_char(h)           ? h - u'0'
              : (h >= u'a' && h <= u'f') ? h - u'a' + 10
              : (h >= u'A' && h <= u'F') ? h - u'A' + 10
                                         : -1;
      if (v < 0) return letter;
      value = value * 16 + unsigned(v);
    }
    at_ += digits;
    return char16_t(value);
  }

  std::u16string_view p_;
  size_t at_ = 0;
  bool ok_ = true;
  CompiledPattern::Program& program_;
  int total_groups_;
};

// Lays the tree out as nodes, each pointing at the node that follows it.
class Emitter {
 public:
  explicit Emitter(CompiledPattern::Program& program) : program_(program) {}

  int emit(const Ast& a, int next) {
    switch (a.kind) {
      case Ast::empty: return next;
      case Ast::char_test: {
        Node n{Op::char_test, next};
        n.test = a.test;
        return add(std::move(n));
      }
      case Ast::sequence:
        for (auto it = a.children.rbegin(); it != a.children.rend(); ++it) next = emit(*it, next);
        return next;
      case Ast::alternatives: {
        Node n{Op::alternatives};
        for (const Ast& child : a.children) n.branches.push_back(emit(child, next));
        return add(std::move(n));
      }
      case Ast::group: {
        Node close{Op::group_close, next};
        close.index = a.index;
        Node open{Op::group_open, emit(a.children[0], add(std::move(close)))};
        open.index = a.index;
        return add(std::move(open));
      }
      case Ast::non_capturing: return emit(a.children[0], next);
      case Ast::lookahead:
      case Ast::negative_lookahead: {
        Node look{Op::lookahead, next};
        look.negate = a.kind == Ast::negative_lookahead;
        look.body = emit(a.children[0], add(Node{Op::lookahead_end}));
        return add(std::move(look));
      }
      case Ast::repeat: return emit_repeat(a, next);
      case Ast::line_start: return add(Node{Op::line_start, next});
      case Ast::line_end: return add(Node{Op::line_end, next});
      case Ast::word_boundary: return add(Node{Op::word_boundary, next});
      case Ast::not_word_boundary: return add(Node{Op::not_word_boundary, next});
      case Ast::back_reference: {
        Node n{Op::back_reference, next};
        n.index = a.index;
        return add(std::move(n));
      }
    }
    return next;
  }

 private:
  int add(Node n) {
    program_.nodes.push_back(std::move(n));
    return int(program_.nodes.size() - 1);
  }

  int emit_repeat(const Ast& a, int next) {
    const Ast& body = a.children[0];
    Node rep{Op::repeat, next};
    rep.min = a.min;
    rep.max = a.max;
    rep.greedy = a.greedy;
    if (body.kind == Ast::char_test) {  // one character at a time: no recursion per step
      rep.op = Op::repeat_char;
      rep.test = body.test;
      return add(std::move(rep));
    }
    rep.index = program_.repeats++;
    int rep_at = add(std::move(rep));
    Node tail{Op::repeat_tail};
    tail.index = rep_at;
    int body_start = emit(body, add(std::move(tail)));
    program_.nodes[size_t(rep_at)].body = body_start;
    return rep_at;
  }

  CompiledPattern::Program& program_;
};

class Matcher {
 public:
  Matcher(const CompiledPattern::Program& program, std::u16string_view text)
      : p_(program), text_(text) {}

  SearchResult search(size_t from) {
    SearchResult result;
    for (size_t start = from; start <= text_.size(); ++start) {
      groups_.assign(size_t(p_.groups) + 1, Span{});
      open_at_.assign(size_t(p_.groups) + 1, -1);
      repeat_count_.assign(size_t(p_.repeats), 0);
      repeat_start_.assign(size_t(p_.repeats), -1);
      steps_ = 0;
      if (run(p_.start, start)) {
        groups_[0] = Span{int(start), int(end_)};
        result.outcome = SearchOutcome::found;
        result.groups = groups_;
        return result;
      }
      if (gave_up_) {
        result.outcome = SearchOutcome::gave_up;
        return result;
      }
    }
    return result;
  }

 private:
  struct DepthGuard {
    explicit DepthGuard(int& d) : depth(++d) {}
    ~DepthGuard() { --depth; }
    int& depth;
  };

  bool run(int n, size_t i) {
    DepthGuard guard(depth_);
    if (depth_ > kMaxDepth) gave_up_ = true;
    while (!gave_up_) {
      if (++steps_ > kMaxSteps) {
        gave_up_ = true;
        break;
      }
      const Node& node = p_.nodes[size_t(n)];
      switch (node.op) {
        case Op::match_end: end_ = i; return true;
        case Op::lookahead_end: return true;
        case Op::char_test:
          if (i >= text_.size() || !p_.test(node.test, text_[i])) return false;
          ++i;
          break;
        case Op::repeat_char: return repeat_char(node, i);
        case Op::alternatives:
          for (int branch : node.branches)
            if (run(branch, i)) return true;
          return false;
        case Op::group_open: return group_open(node, i);
        case Op::group_close: return group_close(node, i);
        case Op::repeat: return enter_repeat(node, i);
        case Op::repeat_tail: return repeat_tail(node, i);
        case Op::line_start:
          if (!(i == 0 || (p_.options.multiline && is_line_end(text_[i - 1])))) return false;
          break;
        case Op::line_end:
          if (!(i == text_.size() || (p_.options.multiline && is_line_end(text_[i])))) return false;
          break;
        case Op::word_boundary:
        case Op::not_word_boundary:
          if (at_word_boundary(i) != (node.op == Op::word_boundary)) return false;
          break;
        case Op::back_reference:
          if (!back_reference(node.index, i)) return false;
          break;
        case Op::lookahead: return lookahead(node, i);
      }
      n = node.next;
    }
    return false;
  }

  // Whether the node after a repetition could match at `i`: a character
  // test that fails there saves trying the rest of the pattern.
  bool may_continue_at(const Node& after, size_t i) const {
    return after.op != Op::char_test || (i < text_.size() && p_.test(after.test, text_[i]));
  }

  bool repeat_char(const Node& node, size_t i) {
    size_t max = node.max == kUnbounded ? text_.size() : size_t(node.max);
    size_t min = size_t(node.min);
    const Node& after = p_.nodes[size_t(node.next)];
    if (node.greedy) {
      size_t count = 0;
      while (count < max && i + count < text_.size() && p_.test(node.test, text_[i + count]))
        ++count;
      steps_ += long(count);
      if (count < min) return false;
      for (size_t c = count;; --c) {
        if (may_continue_at(after, i + c) && run(node.next, i + c)) return true;
        if (gave_up_ || c == min) return false;
      }
    }
    for (size_t c = 0; c < min; ++c)
      if (i + c >= text_.size() || !p_.test(node.test, text_[i + c])) return false;
    for (size_t c = min;; ++c) {
      if (may_continue_at(after, i + c) && run(node.next, i + c)) return true;
      if (gave_up_ || c >= max || i + c >= text_.size() || !p_.test(node.test, text_[i + c]))
        return false;
    }
  }

  bool group_open(const Node& node, size_t i) {
    int saved = std::exchange(open_at_[size_t(node.index)], int(i));
    if (run(node.next, i)) return true;
    open_at_[size_t(node.index)] = saved;
    return false;
  }

  bool group_close(const Node& node, size_t i) {
    Span& group = groups_[size_t(node.index)];
    Span saved = std::exchange(group, Span{open_at_[size_t(node.index)], int(i)});
    if (run(node.next, i)) return true;
    groups_[size_t(node.index)] = saved;
    return false;
  }

  bool enter_repeat(const Node& node, size_t i) {
    size_t id = size_t(node.index);
    int saved_count = std::exchange(repeat_count_[id], 0);
    int saved_start = std::exchange(repeat_start_[id], -1);
    if (repeat_step(node, i)) return true;
    repeat_count_[id] = saved_count;
    repeat_start_[id] = saved_start;
    return false;
  }

  bool repeat_tail(const Node& tail, size_t i) {
    const Node& rep = p_.nodes[size_t(tail.index)];
    size_t id = size_t(rep.index);
    // An iteration that matched nothing once the minimum is met ends the loop.
    if (repeat_start_[id] == int(i) && repeat_count_[id] > rep.min) return false;
    return repeat_step(rep, i);
  }

  bool repeat_step(const Node& rep, size_t i) {
    size_t id = size_t(rep.index);
    int count = repeat_count_[id];
    int start = repeat_start_[id];
    auto iterate = [&] {
      repeat_count_[id] = count + 1;
      repeat_start_[id] = int(i);
      if (run(rep.body, i)) return true;
      repeat_count_[id] = count;
      repeat_start_[id] = start;
      return false;
    };
    if (count < rep.min) return iterate();
    if (rep.greedy) {
      if (count < rep.max && iterate()) return true;
      return !gave_up_ && run(rep.next, i);
    }
    if (run(rep.next, i)) return true;
    return !gave_up_ && count < rep.max && iterate();
  }

  bool lookahead(const Node& node, size_t i) {
    std::vector<Span> saved = groups_;
    bool matched = run(node.body, i);
    if (gave_up_) return false;
    if (matched == node.negate) {
      groups_ = std::move(saved);
      return false;
    }
    if (node.negate) groups_ = saved;
    if (run(node.next, i)) return true;
    groups_ = std::move(saved);
    return false;
  }

  bool at_word_boundary(size_t i) const {
    bool before = i > 0 && is_word_char(text_[i - 1]);
    bool after = i < text_.size() && is_word_char(text_[i]);
    return before != after;
  }

  bool back_reference(int group, size_t& i) const {
    Span s = groups_[size_t(group)];
    if (s.begin < 0) return true;
    size_t n = size_t(s.end - s.begin);
    if (i + n > text_.size()) return false;
    for (size_t k = 0; k < n; ++k) {
      char16_t a = text_[size_t(s.begin) + k], b = text_[i + k];
      if (a != b && !(p_.options.ignore_case && to_upper(a) == to_upper(b))) return false;
    }
    i += n;
    return true;
  }

  const CompiledPattern::Program& p_;
  std::u16string_view text_;
  std::vector<Span> groups_;
  std::vector<int> open_at_;
  std::vector<int> repeat_count_;
  std::vector<int> repeat_start_;
  size_t end_ = 0;
  long steps_ = 0;
  int depth_ = 0;
  bool gave_up_ = false;
};

// Case pairs as ranges: upper-case start, count, distance to lower case
// (or 1 with alternating upper/lower code points).
struct CaseRange {
  char16_t first;
  uint16_t count;
  int16_t delta;
  bool alternating;
};

constexpr CaseRange case_ranges[] = {
    {u'A', 26, 32, false},   {0x00C0, 23, 32, false}, {0x00D8, 7, 32, false},
    {0x0100, 0x38, 1, true}, {0x0139, 0x10, 1, true}, {0x014A, 0x2E, 1, true},
    {0x01CD, 0x10, 1, true}, {0x0391, 17, 32, false}, {0x03A3, 7, 32, false},
    {0x0410, 32, 32, false}, {0x0400, 16, 80, false}, {0x2160, 16, 16, false},
    {0x24B6, 26, 26, false}, {0xFF21, 26, 32, false},
};

}  // namespace

char16_t to_lower(char16_t c) {
  if (c < 0xC0) return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
  for (const CaseRange& r : case_ranges) {
    if (c < r.first || c >= r.first + r.count) continue;
    if (!r.alternating) return char16_t(c + r.delta);
    return (c - r.first) % 2 == 0 ? char16_t(c + 1) : c;
  }
  return c;
}

char16_t to_upper(char16_t c) {
  if (c < 0xC0) return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
  for (const CaseRange& r : case_ranges) {
    if (r.alternating) {
      if (c > r.first && c < r.first + r.count && (c - r.first) % 2 == 1) return char16_t(c - 1);
    } else if (c >= r.first + r.delta && c < r.first + r.delta + r.count) {
      return char16_t(c - r.delta);
    }
  }
  return c;
}

std::optional<CompiledPattern> CompiledPattern::compile(std::u16string_view pattern,
                                                        PatternOptions options) {
  auto program = std::make_shared<Program>();
  program->options = options;
  Ast tree;
  if (!Parser(pattern, *program).parse(tree)) return std::nullopt;
  program->nodes.push_back(Node{Op::match_end});
  program->start = Emitter(*program).emit(tree, 0);
  return CompiledPattern(std::move(program));
}

int CompiledPattern::group_count() const { return program_->groups; }

SearchResult CompiledPattern::search(std::u16string_view text, size_t from) const {
  return Matcher(*program_, text).search(from);
}

}  // namespace rx
