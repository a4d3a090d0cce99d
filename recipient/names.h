// How much a piece of text looks like a person's name, and where a name
// glued to the end of an address begins.
#pragma once

#include <cstddef>
#include <string_view>

namespace recipient {

enum class NameLikeness { none, weak, strong };

// The name without a bracketed remark after it ("张三(先生)" → "张三").
std::string_view without_remark(std::string_view gbk);

// A surname with the given name masked by a platform: 孙*, 王**, 李*明, 张xx.
bool masked_name(std::string_view gbk);

// (Bracketed remarks are left out first.) strong: two to four Chinese characters starting with a surname, or a
// surname with 先生/女士/小姐; weak: other short Chinese or Latin words
// without an address word.
NameLikeness name_likeness(std::string_view gbk);

// Where a name glued to the end of `address` starts ("…38楼马云" → at 马),
// or `address.size()` when it ends in none.
size_t glued_name_start(std::string_view address);

// Whether the text is ordinary speech rather than a name or a place: it
// holds a particle, a pronoun or a chat word (哈喽, 辛苦啦, 放门卫就行).
bool ordinary_words(std::string_view gbk);
// Whether it holds a chat word (宝贝, 谢谢, 今天…), which no address does;
// particles, pronouns and the courier's words (快递, 电联) aside.
bool chat_words(std::string_view gbk);

// Whether the text starts as a request about the delivery does (放驿站,
// 送到门卫室, 不要放快递柜, 麻烦…): a remark even where it names a place.
bool delivery_request(std::string_view gbk);

// Where a remark glued to the end of an address starts, with no separator
// ("…5栋302先电联", "…菜鸟驿站到了打电话", "…2单元可放快递柜"), or
// `address.size()` when there is none. The address's own last words (门卫,
// 门口, 楼上, 3单元) are no remark.
size_t glued_remark_start(std::string_view address);

// Whether the text is one common surname character alone ("张" of "张 伟").
bool lone_surname(std::string_view gbk);

// Whether the text holds a word only addresses use (路, 号, 小区, …).
bool has_address_word(std::string_view gbk);

}  // namespace recipient
