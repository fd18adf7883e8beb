#include "convert/polyphone_rules.h"

#include <algorithm>
#include <array>

namespace kelvaro {
namespace {

// Readings the rules can give; the rule tables refer to them by index.
enum Reading : int {
  kYou2,
  kLe4,
  kGua1,
  kShui2,
  kXing2,
  kWei4,
  kBei1,
  kZhong4,
  kChong2,
  kXian4,
  kXiang4,
  kKan1,
  kCha1,
  kHuo,
  kWei2,
  kHuan2,
  kHang2,
  kGeng1,
  kTiao2,
  kShao4,
  kJuan4,
  kYue4,
  kXiao1,
  kLiao3,
  kBei4,
  kZhang3,
  kReadingCount
};

constexpr std::array<std::u16string_view, kReadingCount> kReadings{
    u"you2",  u"le4",    u"gua1",  u"shui2", u"xing2", u"wei4",  u"bei1",  u"zhong4", u"chong2",
    u"xian4", u"xiang4", u"kan1",  u"cha1",  u"huo",   u"wei2",  u"huan2", u"hang2",  u"geng1",
    u"tiao2", u"shao4",  u"juan4", u"yue4",  u"xiao1", u"liao3", u"bei4",  u"zhang3"};

struct DefaultReading {
  char16_t character;
  Reading reading;
};

constexpr std::array<DefaultReading, 8> kDefaults{{
    {u'游', kYou2},
    {u'乐', kLe4},
    {u'呱', kGua1},
    {u'谁', kShui2},
    {u'行', kXing2},
    {u'为', kWei4},
    {u'背', kBei1},
    {u'重', kZhong4},
}};

// Where a context test compares its literal, relative to the character.
enum class ContextPlace {
  kNext,             // the characters right after it, as many as the literal holds
  kPrevious,         // the one character right before it, when position > 1
  kPreviousLate,     // the one character right before it, when position > 2 (see kZhangTests)
  kPreviousTwo,      // the two characters right before it, when position > 2
  kPreviousAndNext,  // one before equals literal, one after equals after, position > 1
};

struct ContextTest {
  ContextPlace place;
  std::u16string_view literal;
  std::u16string_view after = {};
};

struct ContextGroup {
  char16_t character;
  Reading reading;
  std::span<const ContextTest> tests;
};

using enum ContextPlace;

// The literal of a next test is compared with as many following characters
// as it is long, so "next two" and "next three" are kNext with longer literals.
constexpr ContextTest kChongTests[] = {{kNext, u"庆"}, {kNext, u"重"}, {kPrevious, u"重"}};
constexpr ContextTest kXianTests[] = {{kPreviousAndNext, u"低", u"牛"}};
constexpr ContextTest kXiangTests[] = {{kNext, u"片"}, {kNext, u"机"},     {kNext, u"册"},
                                       {kNext, u"纸"}, {kPrevious, u"照"}, {kPreviousTwo, u"儿白"}};
constexpr ContextTest kKanTests[] = {{kNext, u"弟"}, {kNext, u"护"}, {kNext, u"守"}, {kNext, u"家"},
                                     {kNext, u"门"}, {kNext, u"管"}, {kNext, u"押"}};
constexpr ContextTest kChaTests[] = {
    {kNext, u"别"}, {kNext, u"错"}, {kNext, u"额"}, {kNext, u"距"}};
constexpr ContextTest kHuoTests[] = {{kPrevious, u"暖"}, {kPreviousTwo, u"暖和"}};
constexpr ContextTest kWeiTests[] = {{kNext, u"异客"},
                                     {kNext, u"法"},
                                     {kNext, u"害"},
                                     {kNext, u"富不"},
                                     {kNext, u"难"},
                                     {kNext, u"人"},
                                     {kPreviousAndNext, u"难", u"情"}};
constexpr ContextTest kHuanTests[] = {{kNext, u"乡"}, {kNext, u"俗"}, {kNext, u"你"},
                                      {kNext, u"给"}, {kNext, u"击"}, {kNext, u"口"},
                                      {kNext, u"清"}, {kNext, u"原"}};
constexpr ContextTest kHangTests[] = {
    {kNext, u"行"},          {kNext, u"家"},          {kNext, u"柳"},        {kNext, u" 行"},
    {kPrevious, u"行"},      {kPrevious, u"银"},      {kPrevious, u"这"},    {kPrevious, u"那"},
    {kPreviousTwo, u"柳成"}, {kPreviousTwo, u"六十"}, {kPreviousTwo, u"行 "}};
constexpr ContextTest kGengTests[] = {{kNext, u"换"}, {kNext, u"替"}, {kPrevious, u"三"}};
constexpr ContextTest kTiaoTests[] = {{kNext, u"皮"}, {kNext, u"协"},     {kNext, u"剂"},
                                      {kNext, u"色"}, {kPrevious, u"空"}, {kPrevious, u"协"}};
constexpr ContextTest kShaoTests[] = {{kNext, u"年"},    {kNext, u"女"},
                                      {kNext, u"小"},    {kNext, u"壮"},
                                      {kNext, u" 壮"},   {kPreviousAndNext, u"方", u"时"},
                                      {kPrevious, u"年"}};
constexpr ContextTest kJuanTests[] = {{kNext, u"里啃"}, {kNext, u"养"}};
constexpr ContextTest kYueTests[] = {{kNext, u"器"},
                                     {kNext, u"曲"},
                                     {kPrevious, u"礼"},
                                     {kPrevious, u"音"},
                                     {kPreviousAndNext, u"《", u"》"}};
constexpr ContextTest kXiaoTests[] = {{kNext, u"皮"}, {kNext, u"竹简"}, {kNext, u"苹果"}};
constexpr ContextTest kLiaoTests[] = {{kPrevious, u"知"}, {kPreviousTwo, u"飞不"}};
constexpr ContextTest kBeiTests[] = {{kNext, u"向"},         {kNext, u"叛"},     {kNext, u"靠"},
                                     {kPrevious, u"牛"},     {kPrevious, u"向"}, {kPrevious, u"违"},
                                     {kPreviousTwo, u"捶捶"}};
// 长 reads its one-character look-behinds (消长, 成长, 兄长, 团长) only from
// position 3 on, like its two-character ones (水里长): the rule reads a 长 that
// follows at least two characters. The guard keeps the readings the program has
// always shown: a text that starts with 成长 or 团长 keeps the dictionary reading
// chang2 (the tests hold both sides).
constexpr ContextTest kZhangTests[] = {
    {kNext, u"上"},          {kNext, u"成"},          {kNext, u"大"},
    {kNext, u"着"},          {kNext, u"得"},          {kNext, u"在"},
    {kNext, u"幼"},          {kNext, u"癣"},          {kNext, u"出"},
    {kNext, u"高"},          {kNext, u"个"},          {kNext, u"肉"},
    {kNext, u"羊毛"},        {kNext, u"了一"},        {kNext, u"身体"},
    {kNext, u"脂膘"},        {kNext, u"疙瘩"},        {kNext, u"到蓝"},
    {kNext, u"了个"},        {kNext, u"了几"},        {kNext, u"眼皮"},
    {kNext, u"长到蓝"},      {kPreviousTwo, u"水里"}, {kPreviousTwo, u"快快"},
    {kPreviousTwo, u"往上"}, {kPreviousLate, u"消"},  {kPreviousLate, u"成"},
    {kPreviousLate, u"兄"},  {kPreviousLate, u"团"}};

constexpr std::array<ContextGroup, 18> kContextGroups{{
    {u'重', kChong2, kChongTests},
    {u'见', kXian4, kXianTests},
    {u'相', kXiang4, kXiangTests},
    {u'看', kKan1, kKanTests},
    {u'差', kCha1, kChaTests},
    {u'和', kHuo, kHuoTests},
    {u'为', kWei2, kWeiTests},
    {u'还', kHuan2, kHuanTests},
    {u'行', kHang2, kHangTests},
    {u'更', kGeng1, kGengTests},
    {u'调', kTiao2, kTiaoTests},
    {u'少', kShao4, kShaoTests},
    {u'圈', kJuan4, kJuanTests},
    {u'乐', kYue4, kYueTests},
    {u'削', kXiao1, kXiaoTests},
    {u'了', kLiao3, kLiaoTests},
    {u'背', kBei4, kBeiTests},
    {u'长', kZhang3, kZhangTests},
}};

// The part of text that starts at 0-based index start and is at most length
// long; shorter, or empty, where the text ends sooner or start lies outside.
std::u16string_view Excerpt(std::u16string_view text, std::int64_t start, std::size_t length) {
  if (start < 0 || static_cast<std::uint64_t>(start) >= text.size()) {
    return {};
  }
  return text.substr(static_cast<std::size_t>(start), length);
}

bool Holds(const ContextTest& test, std::u16string_view text, std::int64_t position) {
  // The character stands at 0-based index position - 1.
  switch (test.place) {
    case kNext:
      return Excerpt(text, position, test.literal.size()) == test.literal;
    case kPrevious:
      return position > 1 && Excerpt(text, position - 2, 1) == test.literal;
    case kPreviousLate:
      return position > 2 && Excerpt(text, position - 2, 1) == test.literal;
    case kPreviousTwo:
      return position > 2 && Excerpt(text, position - 3, 2) == test.literal;
    case kPreviousAndNext:
      return position > 1 && Excerpt(text, position - 2, 1) == test.literal &&
             Excerpt(text, position, 1) == test.after;
  }
  return false;
}

// The characters the rules name, each counted once: a character may have a
// default and a group. Counted from the lists when the program is compiled, so
// the table below has a row for every one of them.
constexpr std::size_t CountRuleCharacters() {
  std::array<char16_t, kDefaults.size() + kContextGroups.size()> seen{};
  std::size_t count = 0;
  auto add = [&](char16_t c) {
    if (std::find(seen.begin(), seen.begin() + count, c) == seen.begin() + count) {
      seen[count++] = c;
    }
  };
  for (const DefaultReading& row : kDefaults) add(row.character);
  for (const ContextGroup& group : kContextGroups) add(group.character);
  return count;
}

constexpr std::size_t kRuleCharacterCount = CountRuleCharacters();

// Each rule character has at most one default and one group; this finds them
// without scanning both lists. Built once from the lists above.
struct RuleEntry {
  char16_t character;
  int defaultReading = -1;
  const ContextGroup* group = nullptr;
};

const std::array<RuleEntry, kRuleCharacterCount>& RuleEntries() {
  static const std::array<RuleEntry, kRuleCharacterCount> entries = [] {
    std::array<RuleEntry, kRuleCharacterCount> table{};
    std::size_t count = 0;
    auto slot = [&](char16_t c) -> RuleEntry& {
      for (std::size_t i = 0; i < count; ++i) {
        if (table[i].character == c) return table[i];
      }
      table[count].character = c;
      return table[count++];
    };
    for (const DefaultReading& row : kDefaults) slot(row.character).defaultReading = row.reading;
    for (const ContextGroup& group : kContextGroups) slot(group.character).group = &group;
    std::sort(table.begin(), table.end(),
              [](const RuleEntry& a, const RuleEntry& b) { return a.character < b.character; });
    return table;
  }();
  return entries;
}

const RuleEntry* FindRuleEntry(char16_t character) {
  const auto& entries = RuleEntries();
  const auto it = std::lower_bound(entries.begin(), entries.end(), character,
                                   [](const RuleEntry& e, char16_t c) { return e.character < c; });
  return it != entries.end() && it->character == character ? &*it : nullptr;
}

}  // namespace

// The contextual reading when a test of the character's group holds, else its
// default reading, else none: what evaluating every row and group in table
// order gives, since no character has two rows or two groups.
int ResolvePolyphoneIndex(char16_t character, std::u16string_view text, std::int32_t position) {
  const RuleEntry* entry = FindRuleEntry(character);
  if (!entry) {
    return -1;
  }
  if (entry->group) {
    for (const ContextTest& test : entry->group->tests) {
      if (Holds(test, text, position)) {
        return entry->group->reading;
      }
    }
  }
  return entry->defaultReading;
}

std::span<const std::u16string_view> PolyphoneReadings() { return kReadings; }

bool IsPolyphoneRuleCharacter(char16_t character) { return FindRuleEntry(character) != nullptr; }

}  // namespace kelvaro
