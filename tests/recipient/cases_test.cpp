// The case table: copied recipient texts from every source we know of and
// the eight fields the parser must find in each; and the same addresses
// written in the layouts sellers paste.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "recipient/parser.h"
#include "runtime/text_encoding.h"

namespace {

struct Case {
  std::string group, text;
  std::vector<std::string> fields;  // name … detail, GBK
};

std::string unescaped(std::string s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'n' || s[i + 1] == 't' || s[i + 1] == 'r')) {
      out += s[i + 1] == 'n' ? '\n' : s[i + 1] == 't' ? '\t' : '\r';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::vector<Case> read_cases() {
  std::ifstream in(SLIPJET_RECIPIENT_CASES, std::ios::binary);
  std::vector<Case> cases;
  std::string line, group;
  while (std::getline(in, line)) {
    if (line.starts_with("# group: ")) group = line.substr(9);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> columns;
    for (size_t start = 0;;) {
      size_t tab = line.find('\t', start);
      columns.push_back(rt::from_utf8(line.substr(start, tab - start)));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    columns.resize(9);
    cases.push_back(Case{group, unescaped(columns[0]), {columns.begin() + 1, columns.end()}});
  }
  return cases;
}

std::vector<std::string> fields_of(const recipient::Recipient& r) {
  return {r.name, r.mobile, r.fixed, r.postcode, r.province, r.city, r.district, r.detail};
}

std::string shown(const std::vector<std::string>& fields) {
  std::string s;
  for (const std::string& f : fields) s += rt::to_utf8(f) + " | ";
  return s;
}

TEST(CaseTable, EveryTextGivesItsEightFields) {
  std::vector<Case> cases = read_cases();
  ASSERT_GE(cases.size(), 180u) << "the case table was not found: " << SLIPJET_RECIPIENT_CASES;
  for (const Case& c : cases) {
    recipient::Recipient r = recipient::parse_recipient(c.text);
    EXPECT_EQ(shown(fields_of(r)), shown(c.fields))
        << c.group << ": " << rt::to_utf8(c.text);
  }
}

// Every plain address of the table that carries a mobile number, written
// again in eight layouts with other names (the program's literals are GBK).
TEST(CaseTable, TheSameRecipientsInEveryLayout) {
  const std::vector<std::string> layouts = {
      "{n}，{m}，{a}", "{a} {n} {m}",    "收货人：{n}\n手机号码：{m}\n详细地址：{a}",
      "{n}{m}{a}",     "{m} {a} {n}",    "{n}\t{m}\t{a}",
      "姓名:{n} 电话:{m} 地址:{a}",     "{a}，{n}，{m}"};
  const std::vector<std::string> names = {"张伟", "王芳", "李娜", "刘洋", "陈静",
                                          "杨秀英", "黄磊", "赵敏", "周杰", "吴桂兰"};
  int checked = 0, k = 0;
  for (const Case& c : read_cases()) {
    const std::vector<std::string>& f = c.fields;
    bool plain = c.group == "plain orders, name phone address" || c.group == "address first" ||
                 c.group == "renamed and merged places" || c.group == "place names inside street names";
    if (!plain || f[1].size() != 11 || f[4].empty()) continue;
    std::string address = f[4] + (f[5] != f[4] ? f[5] : "") + f[6] + f[7];
    for (const std::string& layout : layouts) {
      std::string name = names[size_t(k++) % names.size()];
      std::string text = layout;
      for (auto [mark, value] : {std::pair{std::string("{n}"), name}, {"{m}", f[1]}, {"{a}", address}})
        text.replace(text.find(mark), 3, value);
      recipient::Recipient r = recipient::parse_recipient(text);
      std::vector<std::string> want = {name, f[1], "", "", f[4], f[5], f[6], f[7]};
      EXPECT_EQ(shown(fields_of(r)), shown(want)) << rt::to_utf8(text);
      ++checked;
    }
  }
  EXPECT_GE(checked, 300);
}

}  // namespace
