// Generated recipients: names of every kind, numbers in every writing, every
// county-level division of the table written three ways, with chat lead-ins
// and remarks, in chat, order-page, spreadsheet and list layouts, each with
// its known answer (the program's literals are GBK). Held-out layouts,
// lead-ins and remarks are scored, their failures never shown, so the
// parser is not fitted to them.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "recipient/divisions.h"
#include "recipient/parser.h"
#include "runtime/text_encoding.h"

namespace {

using recipient::Level;

struct Person {
  std::string name, mobile_written, mobile;
};

struct Expected {
  Person person;
  std::string province, city, district, detail;
};

const std::vector<std::string> kNames = {"张伟",   "李秀英", "欧阳娜娜", "王先生", "热依拉·阿不都",
                                         "孙*",    "刘洋",   "诸葛明",   "陈女士", "Mike Wang",
                                         "黄晓明", "司马光", "单丽",     "赵敏",   "林志强"};
const std::vector<std::pair<std::string, std::string>> kMobiles = {
    {"13800138000", "13800138000"},   {"139 1234 5678", "13912345678"},
    {"137-1234-5678", "13712345678"}, {"+86 15888886666", "15888886666"},
    {"+8618612345678", "18612345678"}, {"86-17712345678", "17712345678"}};
const std::vector<std::string> kStreets = {"文三路100号", "人民南路18号3栋201室", "幸福小区5幢2单元301",
                                           "建设大道666号", "新华村12组", "滨江花园B座1203"};
const std::vector<std::string> kGoods = {"连衣裙", "男士卫衣", "保温杯", "儿童运动鞋"};

struct Sources {
  std::vector<std::string> layouts, leads, remarks;
};

// {l} lead-in, {r} remark, {n} name, {m} mobile, {a} address, {g} goods;
// a layout with {n2} holds a second recipient.
const Sources kSeen = {
    {"{l}{a} {n} {m} {r}", "收货人：{n}\n手机号码：{m}\n详细地址：{a}", "{n}\t{m}\t{a}\t{g}\t2\t59.00",
     "{l}{n}，{m}，{a}，{r}", "{n}\n{m}\n{a}\n{n2}\n{m2}\n{a2}", "{l}{n} {m}\n{a}\n{r}"},
    {"", "哈喽，", "您好呀 ", "宝贝发这里：", "帮我寄：", "改一下地址哦 "},
    {"", "辛苦啦", "放门卫就行", "下午再送", "不要放快递柜"}};
const Sources kHeldOut = {
    {"{l}地址：{a}，收件人：{n}，电话：{m}，{r}", "1\t{n}\t{m}\t{a}\t{g}\t加急",
     "{n} {m} {a}；{n2} {m2} {a2}"},
    {"老板你好，发这个：", "在吗？麻烦寄到 ", "亲 地址改成这个了\n"},
    {"谢谢亲", "到了打电话", "尽快发货哦"}};
// A second held-out part: 42.1 % at its first run; its shapes ("/" between
// the fields, a remark naming a place) were then mended as classes.
const Sources kSecondHeldOut = {
    {"{l}{n}（{m}）{a} {r}", "{a}\n收件人 {n}\n{m}\n{r}", "{l}{n}/{m}/{a}"},
    {"你好，我的收货信息：", "换个地址 ", "嗨 "},
    {"周末也可以收", "放驿站", "急用 谢谢"}};
// Written after the parser's last change (79.7 % at its first run); its
// failures are never shown.
const Sources kBlind = {
    {"{n}，{a}，{m}，{r}", "{l}{m}\n{n}\n{a}", "{n}\t{a}\t{m}\t{g}\t1\t\t{r}"},
    {"老板，", "下单了，地址：", "收到请回复，"},
    {"谢谢！", "工作日送", "周六在家"}};

// The county-level divisions a text can name without its city deciding
// which one it is.
std::vector<int> districts() {
  const recipient::Divisions& d = recipient::divisions();
  std::vector<int> out;
  for (size_t i = 0; i < d.size(); ++i)
    if (d.at(int(i)).level == Level::district && d.at(int(i)).code < 710000) out.push_back(int(i));
  return out;
}

// The address written one of three ways: whole, without the province, or
// with blanks between the levels.
std::string written(int district, int way, Expected& e) {
  const recipient::Divisions& d = recipient::divisions();
  const recipient::Division& x = d.at(district);
  const recipient::Division& city = d.at(x.parent);
  const recipient::Division& province = d.at(city.parent);
  e.province = province.name;
  e.city = city.name;
  e.district = x.name;
  std::string own_city = city.municipality ? "" : city.name;
  if (way == 0) return province.name + own_city + x.name + e.detail;
  if (way == 1) return (city.municipality ? province.name : city.name) + x.name + e.detail;
  return province.name + " " + (own_city.empty() ? "" : own_city + " ") + x.name + " " + e.detail;
}

void put(std::string& text, const std::string& mark, const std::string& value) {
  for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
    text.replace(at, mark.size(), value);
}

struct Score {
  int right = 0, total = 0;
  std::vector<std::string> wrong;  // shown for the seen set only
};

std::string fields(const recipient::Recipient& r) {
  return r.name + "|" + r.mobile + "|" + r.fixed + "|" + r.postcode + "|" + r.province + "|" + r.city +
         "|" + r.district + "|" + r.detail;
}

void sweep(const Sources& sources, int count, unsigned seed, Score& score) {
  std::mt19937 random(seed);
  std::vector<int> all = districts();
  auto pick = [&](const auto& list) -> const auto& { return list[random() % list.size()]; };
  for (int k = 0; k < count; ++k) {
    std::string text = pick(sources.layouts);
    std::vector<Expected> want(text.find("{n2}") != std::string::npos ? 2 : 1);
    for (size_t i = 0; i < want.size(); ++i) {
      Expected& e = want[i];
      auto [mobile_written, mobile] = pick(kMobiles);
      e.person = {pick(kNames), mobile_written, mobile};
      if (i == 1 && e.person.mobile == want[0].person.mobile) e.person.mobile_written = e.person.mobile = "13311112222";
      e.detail = pick(kStreets);
      std::string address = written(pick(all), int(random() % 3), e);
      std::string suffix = i == 0 ? "" : "2";
      put(text, "{n" + suffix + "}", e.person.name);
      put(text, "{m" + suffix + "}", e.person.mobile_written);
      put(text, "{a" + suffix + "}", address);
    }
    put(text, "{l}", pick(sources.leads));
    put(text, "{r}", pick(sources.remarks));
    put(text, "{g}", pick(kGoods));
    std::vector<recipient::Recipient> got = recipient::parse_recipients(text);
    bool right = got.size() == want.size();
    for (size_t i = 0; right && i < want.size(); ++i) {
      const Expected& e = want[i];
      recipient::Recipient r;
      // A platform's mask ("孙*") is no name: the name box stays empty.
      r.name = e.person.name.find('*') == std::string::npos ? e.person.name : "";
      r.mobile = e.person.mobile, r.province = e.province, r.city = e.city;
      r.district = e.district, r.detail = e.detail;
      right = fields(got[i]) == fields(r);
    }
    ++score.total;
    if (right) {
      ++score.right;
    } else if (score.wrong.size() < 20) {
      std::string shown = rt::to_utf8(text) + "  →  ";
      for (const auto& r : got) shown += rt::to_utf8(fields(r)) + " / ";
      score.wrong.push_back(shown);
    }
  }
}

double percent(const Score& s) { return s.total ? 100.0 * s.right / s.total : 0; }

TEST(Sweep, GeneratedRecipientsOfSeenAndHeldOutShapes) {
  Score seen, held_out, second, blind;
  sweep(kSeen, 2000, 20261209, seen);
  sweep(kHeldOut, 1000, 1209, held_out);
  sweep(kSecondHeldOut, 1000, 912, second);
  sweep(kBlind, 1000, 1210, blind);
  std::printf("sweep: seen %.1f %%, held out %.1f %%, second held out %.1f %%, blind %.1f %% "
              "(of %d, %d, %d, %d)\n",
              percent(seen), percent(held_out), percent(second), percent(blind), seen.total,
              held_out.total, second.total, blind.total);
  for (const std::string& w : seen.wrong) ADD_FAILURE() << w;
  EXPECT_GE(percent(seen), 99.0);
  EXPECT_GE(percent(held_out), 95.0);  // the figures are reported; their texts stay unseen
  EXPECT_GE(percent(second), 95.0);
  EXPECT_GE(percent(blind), 85.0);  // 89.7 % when raised: a floor, not a goal
}

}  // namespace
