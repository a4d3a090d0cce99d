// China's administrative divisions down to county level, as the address
// parser looks them up: by full name, by short form ("浙江", "杭州",
// "西湖") and by former name (襄樊 → 襄阳市), at a position of a text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace recipient {

enum class Level : uint8_t { province = 1, city = 2, district = 3 };

struct Division {
  int code = 0;
  std::string name;
  Level level = Level::province;
  int parent = -1;       // index of the province or city above
  bool municipality = false;  // 北京 上海 天津 重庆, and their cities
  bool has_districts = false;  // a city whose county-level divisions are listed
  int own_city = -1;  // a municipality's city (the municipality again)
  bool directly_governed = false;  // a county-level city no prefecture is above
};

// One way of writing a division.
struct NameForm {
  int division = -1;
  bool short_form = false;  // a short form or a former name's stem
  bool split = false;       // a former name whose land went to several divisions
};

// Which divisions a look-up takes: a reference to any callable, made
// without copying it (the parser asks thousands of times per text).
class Accept {
 public:
  template <typename F>
  Accept(const F& f)  // NOLINT: made implicitly from a lambda
      : object_(&f), call_([](const void* o, const Division& d, bool short_form) {
          return (*static_cast<const F*>(o))(d, short_form);
        }) {}
  bool operator()(const Division& d, bool short_form) const { return call_(object_, d, short_form); }

 private:
  const void* object_;
  bool (*call_)(const void*, const Division&, bool);
};

// A division written at a position: the form found and its length in bytes.
struct NameMatch {
  NameForm form;
  size_t length = 0;
  bool suffixed = false;  // a short form written with a suffix ("新津县")
  bool ambiguous = false;  // another division the filter takes has this name too
  explicit operator bool() const { return length > 0; }
};

class Divisions {
 public:
  Divisions();  // from the built-in table

  const Division& at(int index) const { return divisions_[size_t(index)]; }
  size_t size() const { return divisions_.size(); }
  // The county-level divisions of a city, by index.
  const std::vector<int>& districts_of(int city) const { return districts_of_[size_t(city)]; }
  // The index of the division with `code`, or -1.
  int find(int code) const { return index_of(code); }
  // The province of a division (itself for a province).
  int province_of(int index) const;

  // The longest name written at `at` in `s` (simplified GBK) whose division
  // `accept` takes; of several divisions with that name, the one of the
  // larger city where a few common names are concerned, else the one of the
  // lowest code. A short form is followed by its level's suffix when one is
  // written ("杭州市", "新津县"), which the match then includes.
  NameMatch match(std::string_view s, size_t at,
                  Accept accept) const;
  // The same for the three levels at once: province, city, district.
  std::array<NameMatch, 3> match_each_level(std::string_view s, size_t at) const;

 private:
  struct Key {
    std::string text;
    uint16_t second = 0;  // its second character, compared before the rest
    std::vector<NameForm> forms;
  };
  void load_table();
  void add_key(const std::string& text, NameForm form);
  void add_short_forms();
  void add_names_with_a_character_missing();
  void add_former_names();
  bool has_key(const std::string& text) const;
  template <size_t N, typename SlotOf>
  void scan(std::string_view s, size_t at, const SlotOf& slot_of, std::array<NameMatch, N>& found) const;
  int index_of(int code) const;

  std::vector<Division> divisions_;
  std::unordered_map<int, int> by_code_;
  std::vector<std::pair<NameForm, std::string>> former_;  // from the table
  std::vector<std::vector<int>> districts_of_;
  // Keys by their first character, longest first.
  std::vector<std::vector<Key>> keys_ = std::vector<std::vector<Key>>(65536);
};

// The table, loaded once.
const Divisions& divisions();

}  // namespace recipient
