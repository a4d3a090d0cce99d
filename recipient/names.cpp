#include "recipient/names.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cctype>
#include <string>
#include <vector>

#include "recipient/characters.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

// Common single-character surnames.
constexpr std::string_view kSurnames =
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶"
    "程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺"
    "顾毛郝龚邵万钱严覃武戴莫孔向汤常温康施文牛樊葛邢安齐易乔伍庞颜倪庄聂章鲁岳翟殷詹申欧"
    "耿关兰焦俞左柳甘祝包宁尚符舒阮柯纪梅童凌毕单季裴霍涂成苗谷盛曲翁冉骆蓝路游辛靳管柴蒙"
    "鲍华喻祁蒲房滕屈饶解牟艾尤阳时穆农司卓古吉缪简车项连芦麦褚娄窦戚岑景党宫费卜冷晏席卫"
    "米柏宗瞿桂全佟应臧闵苟邬边卞姬师和仇栾隋商刁沙荣巫寇桑郎甄丛仲虞敖巩明佘池查麻苑迟邝"
    "官封谈匡鞠惠荆乐冀郁胥南班储原栗燕楚鄢劳谌奚皮粟冼蔺楼盘满闻位厉伊仝区郜海阚花权强帅"
    "屠豆朴盖练廉禹井祖漆巴丰支卿国狄平计索宣晋相初门云容敬来扈晁芮都普阙浦戈伏鹿薄邸雍辜"
    "羊阿乌母裘亓修邰赫杭况那宿鲜印逯隆茹诸战慕危玉银亢嵇公哈湛宾戎勾茅利於呼居揭干但尉冶"
    "斯元束檀衣信展阴昝智幸奉植衡富尧闭由";

constexpr std::array<std::string_view, 32> kCompoundSurnames = {
    "欧阳", "司马", "上官", "诸葛", "东方", "皇甫", "令狐", "慕容", "尉迟", "长孙", "宇文",
    "司徒", "夏侯", "公孙", "端木", "轩辕", "西门", "南宫", "独孤", "百里", "呼延", "申屠",
    "澹台", "钟离", "万俟", "闻人", "赫连", "拓跋", "完颜", "第五", "司空", "太史"};

// Characters only addresses have.
constexpr std::string_view kAddressCharacters =
    "省市区县镇乡村街路道巷弄号楼室栋幢层座苑院厦店厂站馆局社组队寓舍铺屯宿";
constexpr std::array<std::string_view, 10> kAddressWords = {
    "小区", "大厦", "花园", "公司", "广场", "中心", "单元", "学校", "大学", "医院"};

// Characters an address commonly ends with, before a glued name.
constexpr std::string_view kAddressEndings =
    "号楼室层栋幢座户元弄院苑园村组店司厦场处站门部城区舍馆铺庄屯街路道巷里湾寓府邸墅阁轩岛"
    "港所局校厂库仓心家队社堂宫桥庭居坊间房期旁内外侧口";

// Characters of ordinary speech that names do not use: particles, pronouns
// and the verbs of a chat ("哈喽", "宝贝发这里", "辛苦啦", "放门卫就行").
constexpr std::string_view kSpeechCharacters =
    "的了吗呢吧啊呀哦嗯喽啦么哟嘛噢喔哇咯嘞呗滴您你我他她它们这那哪啥谁是在有要给把寄"
    "放帮改请就行别不没让用还再些都也很到吃过去说想会着话感件货递";
constexpr std::array<std::string_view, 23> kSpeechWords = {
    "宝贝", "谢谢", "辛苦", "麻烦", "收到", "快点", "尽快", "下午", "上午", "晚上", "今天",
    "明天", "复制", "粘贴", "修改", "编辑", "删除", "查看", "收起", "展开", "默认", "一键", "一下"};
// Words of the courier's delivery, which a remark glued to an address
// holds ("…中通快递", "…门卫电联") but no name.
constexpr std::array<std::string_view, 4> kDeliveryWords = {"快递", "门卫", "电联", "自取"};

// How a remark glued to an address's end begins: what buyers ask of the
// courier. Whole phrases, so that no street or building name is cut.
constexpr std::array<std::string_view, 31> kRemarkStarts = {
    "先电联", "电联", "先打电话", "打电话", "来电", "到了", "可放", "放在", "放到", "放门卫",
    "放快递柜", "放驿站", "店里自取", "同意自取", "自取", "节假日", "周末", "工作日", "不收", "换一下",
    "改一下", "麻烦", "谢谢", "请放", "请送", "送货上门", "务必", "不要", "有疑问", "派送异议",
    "疑问请"};

// A set of two-byte characters, looked up by code (the parser asks this
// of every character of every piece).
class CharacterSet {
 public:
  explicit CharacterSet(std::string_view characters) {
    for (size_t i = 0; i < characters.size(); i += rt::character_size(characters, i))
      codes_.set(char_code(characters, i));
  }
  bool has(std::string_view s, size_t at) const { return codes_.test(char_code(s, at)); }

 private:
  std::bitset<65536> codes_;
};

const CharacterSet& surnames() {
  static const CharacterSet set(kSurnames);
  return set;
}
const CharacterSet& address_characters() {
  static const CharacterSet set(kAddressCharacters);
  return set;
}
const CharacterSet& address_endings() {
  static const CharacterSet set(kAddressEndings);
  return set;
}
const CharacterSet& speech_characters() {
  static const CharacterSet set(kSpeechCharacters);
  return set;
}

// The surname's length in bytes at the start of `s`, or 0.
size_t surname_length(std::string_view s) {
  static const std::bitset<65536> compound_starts = [] {
    std::bitset<65536> out;
    for (std::string_view compound : kCompoundSurnames) out.set(char_code(compound, 0));
    return out;
  }();
  if (s.size() >= 4 && compound_starts.test(char_code(s, 0)))
    for (std::string_view compound : kCompoundSurnames)
      if (s.starts_with(compound)) return compound.size();
  if (!s.empty() && rt::character_size(s, 0) == 2 && surnames().has(s, 0)) return 2;
  return 0;
}

// Two-byte characters outside GBK's rows of marks and symbols (A1–A9), and
// four-byte ideographs;
// a middle dot may join the parts of a transcribed name (热依拉·阿不都).
bool all_chinese(std::string_view s) {
  for (size_t at = 0; at < s.size(); at += rt::character_size(s, at)) {
    uint16_t code = char_code(s, at);
    bool dot = (code == 0xA1A4 || s[at] == '.') && at > 0 && at + rt::character_size(s, at) < s.size();
    if (dot) continue;
    if (rt::is_four_byte_ideograph(s, at)) continue;
    if (rt::character_size(s, at) != 2 || (code >= 0xA1A1 && code <= 0xA9FE)) return false;
  }
  return !s.empty();
}

size_t chinese_characters(std::string_view s) {
  size_t n = 0;
  for (size_t at = 0; at < s.size(); at += rt::character_size(s, at))
    n += rt::is_four_byte_ideograph(s, at) ||
         (rt::character_size(s, at) == 2 && !(char_code(s, at) >= 0xA1A1 && char_code(s, at) <= 0xA9FE));
  return n;
}

// Latin words, one blank between them (Mike Wang).
bool all_latin(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.';
    bool blank = c == ' ' && i > 0 && i + 1 < s.size() && s[i - 1] != ' ';
    if (!letter && !blank) return false;
  }
  return !s.empty();
}

}  // namespace

bool masked_name(std::string_view s) {
  if (s.find_first_of("*xX") == std::string_view::npos) return false;  // no mask at all
  size_t surname = surname_length(s);
  if (surname == 0 || s.size() <= surname) return false;
  size_t stars = 0, rest = 0;
  for (size_t at = surname; at < s.size(); at += rt::character_size(s, at))
    (s[at] == '*' || s[at] == 'x' || s[at] == 'X' ? stars : rest) += 1;
  return stars >= 1 && stars + rest <= 3 && chinese_characters(s) == surname / 2 + rest;
}

bool has_address_word(std::string_view s) {
  for (size_t at = 0; at < s.size(); at += rt::character_size(s, at))
    if (rt::character_size(s, at) == 2 && address_characters().has(s, at)) return true;
  for (std::string_view w : kAddressWords)
    if (s.find(w) != std::string_view::npos) return true;
  return false;
}

std::string_view without_remark(std::string_view s) {
  size_t open = s.find('(');
  if (open == std::string_view::npos || open == 0 || !s.ends_with(')')) return s;
  return s.substr(0, open);
}

bool chat_words(std::string_view s) {
  return std::any_of(kSpeechWords.begin(), kSpeechWords.end(),
                     [&](std::string_view w) { return s.find(w) != std::string_view::npos; });
}

bool ordinary_words(std::string_view s) {
  if (chat_words(s)) return true;
  for (std::string_view w : kDeliveryWords)
    if (s.find(w) != std::string_view::npos) return true;
  for (size_t at = 0; at < s.size(); at += rt::character_size(s, at))
    if (rt::character_size(s, at) == 2 && speech_characters().has(s, at)) return true;
  return false;
}

bool delivery_request(std::string_view s) {
  static constexpr std::string_view kRequests[] = {"放", "送", "别", "不要", "请", "麻烦", "到了",
                                                   "记得", "务必", "尽快", "急", "帮忙"};
  bool digits = std::any_of(s.begin(), s.end(), [](char c) { return is_digit(c); });
  return !digits && std::any_of(std::begin(kRequests), std::end(kRequests),
                                [&](std::string_view r) { return s.starts_with(r); });
}

size_t glued_remark_start(std::string_view a) {
  // A remark has no digit after its start, and at least a word of address
  // stands before it.
  size_t last_digit = a.find_last_of("0123456789");
  size_t from = last_digit == std::string_view::npos ? 4 : std::max<size_t>(4, last_digit + 1);
  for (size_t at = 0; at < a.size(); at = rt::next_character(a, at)) {
    if (at < from) continue;
    std::string_view rest = a.substr(at);
    if (std::any_of(kRemarkStarts.begin(), kRemarkStarts.end(),
                    [&](std::string_view w) { return rest.starts_with(w); }))
      return at;
  }
  return a.size();
}

bool lone_surname(std::string_view s) { return s.size() == 2 && surname_length(s) == 2; }

NameLikeness name_likeness(std::string_view s) {
  s = without_remark(s);
  if (all_latin(s)) {
    if (s.size() < 2 || s.size() > 30) return NameLikeness::none;
    // Given name and surname, each capitalised (Mike Wang), are a name.
    size_t blank = s.find(' ');
    bool two_words = blank != std::string_view::npos && s.find(' ', blank + 1) == std::string_view::npos &&
                     std::isupper(static_cast<unsigned char>(s[0])) &&
                     std::isupper(static_cast<unsigned char>(s[blank + 1]));
    return two_words ? NameLikeness::strong : NameLikeness::weak;
  }
  if (masked_name(s)) return NameLikeness::strong;
  if (!all_chinese(s) || has_address_word(s)) return NameLikeness::none;
  size_t characters = chinese_characters(s), all = 0;
  for (size_t at = 0; at < s.size(); at = rt::next_character(s, at)) ++all;
  bool transcribed = characters != all;  // with a middle dot
  if (transcribed) return characters >= 3 && characters <= 12 ? NameLikeness::strong : NameLikeness::none;
  if (characters < 2 || characters > 5) return NameLikeness::none;
  bool polite = s.ends_with("先生") || s.ends_with("女士") || s.ends_with("小姐");
  if (!polite && ordinary_words(s)) return NameLikeness::none;
  if (surname_length(s) > 0 && (characters <= 4 || polite)) return NameLikeness::strong;
  return characters <= 4 ? NameLikeness::weak : NameLikeness::none;
}

size_t glued_name_start(std::string_view a) {
  std::vector<size_t> starts;  // of every character
  for (size_t at = 0; at < a.size(); at += rt::character_size(a, at)) starts.push_back(at);
  // Try a three-character name before a two-character one; four only with
  // a compound surname.
  for (size_t characters : {3, 2, 4}) {
    if (starts.size() <= characters) continue;
    size_t start = starts[starts.size() - characters];
    std::string_view tail = a.substr(start);
    size_t surname = surname_length(tail);
    // A surname that is also an address word (区, 门) counts as a surname
    // only before a one-character given name ("…100号区伟").
    std::string_view checked = characters == 2 ? tail.substr(surname) : tail;
    if (!all_chinese(tail) || surname == 0 || has_address_word(checked) || ordinary_words(tail)) continue;
    if (characters == 4 && surname != 4) continue;
    // What comes before the name must end the address: a digit or letter,
    // or an address's closing character.
    size_t before = starts[starts.size() - characters - 1];
    char b = a[before];
    bool ascii_end = rt::character_size(a, before) == 1 &&
                     ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                      (b >= 'a' && b <= 'z') || b == ')');
    bool character_end =
        rt::character_size(a, before) == 2 && address_endings().has(a, before);
    if (ascii_end || character_end) return start;
  }
  return a.size();
}

}  // namespace recipient
