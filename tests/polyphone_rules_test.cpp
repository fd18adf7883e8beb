#include "convert/polyphone_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "convert/base_rules.h"
#include "convert/conversion.h"
#include "convert/reading_rules.h"
#include "tests/reference/polyphone_reading.h"

namespace kelvaro {
namespace {

struct Row {
  std::u16string_view text;
  int position;  // 1-based; the character tested is the one at this position
  std::u16string_view expected;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << "position " << row.position << " of a " << row.text.size() << "-unit text";
}

constexpr Row kRows[] = {
    // Defaults, with no context around.
    {u"游", 1, u"you2"},
    {u"呱", 1, u"gua1"},
    {u"谁", 1, u"shui2"},
    {u"快乐", 2, u"le4"},
    {u"行走", 1, u"xing2"},
    {u"因为", 2, u"wei4"},
    {u"背", 1, u"bei1"},
    {u"重要", 1, u"zhong4"},
    {u"我是谁啊", 3, u"shui2"},
    {u"人", 1, u""},
    {u"长城", 1, u""},
    {u"和平", 1, u""},
    // 重
    {u"重庆", 1, u"chong2"},
    {u"重重", 1, u"chong2"},
    {u"重重", 2, u"chong2"},
    // 见
    {u"低见牛", 2, u"xian4"},
    {u"低见", 2, u""},
    {u"见牛", 1, u""},
    // 相
    {u"相片", 1, u"xiang4"},
    {u"相机", 1, u"xiang4"},
    {u"相册", 1, u"xiang4"},
    {u"相纸", 1, u"xiang4"},
    {u"照相", 2, u"xiang4"},
    {u"儿白相", 3, u"xiang4"},
    {u"相信", 1, u""},
    // 看
    {u"看弟", 1, u"kan1"},
    {u"看护", 1, u"kan1"},
    {u"看守", 1, u"kan1"},
    {u"看家", 1, u"kan1"},
    {u"看门", 1, u"kan1"},
    {u"看管", 1, u"kan1"},
    {u"看押", 1, u"kan1"},
    {u"看书", 1, u""},
    // 差
    {u"差别", 1, u"cha1"},
    {u"差错", 1, u"cha1"},
    {u"差额", 1, u"cha1"},
    {u"差距", 1, u"cha1"},
    {u"差不多", 1, u""},
    // 和
    {u"暖和", 2, u"huo"},
    {u"暖和和", 3, u"huo"},
    {u"我和你", 2, u""},
    // 为
    {u"为异客", 1, u"wei2"},
    {u"为法", 1, u"wei2"},
    {u"为害", 1, u"wei2"},
    {u"为富不仁", 1, u"wei2"},
    {u"为难", 1, u"wei2"},
    {u"为人", 1, u"wei2"},
    {u"难为情", 2, u"wei2"},
    {u"为异", 1, u"wei4"},
    {u"难为", 2, u"wei4"},
    // 还
    {u"还乡", 1, u"huan2"},
    {u"还俗", 1, u"huan2"},
    {u"还你", 1, u"huan2"},
    {u"还给", 1, u"huan2"},
    {u"还击", 1, u"huan2"},
    {u"还口", 1, u"huan2"},
    {u"还清", 1, u"huan2"},
    {u"还原", 1, u"huan2"},
    {u"还有", 1, u""},
    // 行
    {u"行行", 1, u"hang2"},
    {u"行家", 1, u"hang2"},
    {u"行柳", 1, u"hang2"},
    {u"行 行", 1, u"hang2"},
    {u"行 行", 3, u"hang2"},
    {u"行行", 2, u"hang2"},
    {u"银行", 2, u"hang2"},
    {u"这行", 2, u"hang2"},
    {u"那行", 2, u"hang2"},
    {u"柳成行", 3, u"hang2"},
    {u"六十行", 3, u"hang2"},
    {u"行 ", 1, u"xing2"},
    {u"一行", 2, u"xing2"},
    // 更
    {u"更换", 1, u"geng1"},
    {u"更替", 1, u"geng1"},
    {u"三更", 2, u"geng1"},
    {u"更好", 1, u""},
    // 调
    {u"调皮", 1, u"tiao2"},
    {u"调协", 1, u"tiao2"},
    {u"调剂", 1, u"tiao2"},
    {u"调色", 1, u"tiao2"},
    {u"空调", 2, u"tiao2"},
    {u"协调", 2, u"tiao2"},
    {u"调查", 1, u""},
    // 少
    {u"少年", 1, u"shao4"},
    {u"少女", 1, u"shao4"},
    {u"少小", 1, u"shao4"},
    {u"少壮", 1, u"shao4"},
    {u"少 壮", 1, u"shao4"},
    {u"方少时", 2, u"shao4"},
    {u"年少", 2, u"shao4"},
    {u"多少", 2, u""},
    {u"方少", 2, u""},
    // 圈
    {u"圈里啃", 1, u"juan4"},
    {u"圈养", 1, u"juan4"},
    {u"圈里", 1, u""},
    // 乐
    {u"乐器", 1, u"yue4"},
    {u"乐曲", 1, u"yue4"},
    {u"礼乐", 2, u"yue4"},
    {u"音乐", 2, u"yue4"},
    {u"《乐》", 2, u"yue4"},
    {u"《乐", 2, u"le4"},
    // 削
    {u"削皮", 1, u"xiao1"},
    {u"削竹简", 1, u"xiao1"},
    {u"削苹果", 1, u"xiao1"},
    {u"削竹", 1, u""},
    {u"剥削", 2, u""},
    // 了
    {u"知了", 2, u"liao3"},
    {u"飞不了", 3, u"liao3"},
    {u"好了", 2, u""},
    // 背
    {u"背向", 1, u"bei4"},
    {u"背叛", 1, u"bei4"},
    {u"背靠", 1, u"bei4"},
    {u"牛背", 2, u"bei4"},
    {u"向背", 2, u"bei4"},
    {u"违背", 2, u"bei4"},
    {u"捶捶背", 3, u"bei4"},
    {u"背包", 1, u"bei1"},
    // 长: one-character look-ahead, two and three characters ahead
    {u"长上", 1, u"zhang3"},
    {u"长成", 1, u"zhang3"},
    {u"长大", 1, u"zhang3"},
    {u"长着", 1, u"zhang3"},
    {u"长得", 1, u"zhang3"},
    {u"长在", 1, u"zhang3"},
    {u"长幼", 1, u"zhang3"},
    {u"长癣", 1, u"zhang3"},
    {u"长出", 1, u"zhang3"},
    {u"长高", 1, u"zhang3"},
    {u"长个", 1, u"zhang3"},
    {u"长肉", 1, u"zhang3"},
    {u"长羊毛", 1, u"zhang3"},
    {u"长了一", 1, u"zhang3"},
    {u"长身体", 1, u"zhang3"},
    {u"长脂膘", 1, u"zhang3"},
    {u"长疙瘩", 1, u"zhang3"},
    {u"长到蓝", 1, u"zhang3"},
    {u"长了个", 1, u"zhang3"},
    {u"长了几", 1, u"zhang3"},
    {u"长眼皮", 1, u"zhang3"},
    {u"长长到蓝", 1, u"zhang3"},
    {u"长长到蓝", 2, u"zhang3"},
    {u"长了", 1, u""},
    {u"长到", 1, u""},
    // 长: look-behind only from position 3 on, the one-character tests included
    {u"水里长", 3, u"zhang3"},
    {u"快快长", 3, u"zhang3"},
    {u"往上长", 3, u"zhang3"},
    {u"我消长", 3, u"zhang3"},
    {u"我成长", 3, u"zhang3"},
    {u"我兄长", 3, u"zhang3"},
    {u"我团长", 3, u"zhang3"},
    {u"成长", 2, u""},
    {u"团长", 2, u""},
    // Look-behind guards at positions 1 and 2: nothing before the text is read.
    {u"重", 1, u"zhong4"},
    {u"和", 1, u""},
    {u"和暖", 1, u""},
    {u"了", 1, u""},
    {u"白相", 2, u""},
    {u"不了", 2, u""},
    // The end of the text: look-ahead finds a shorter piece and fails.
    {u"我重", 2, u"zhong4"},
    {u"为富", 1, u"wei4"},
    {u"长长到", 2, u""},
    // A line break breaks a context.
    {u"重\r\n庆", 1, u"zhong4"},
    {u"银\r\n行", 4, u"xing2"},
    {u"暖\n和", 3, u""},
};

// The program's first rules alone, as they have always read.
const ReadingRules& FirstRules() {
  static const ReadingRules rules = [] {
    ReadingRules built;
    AddBaseRules(built);
    return built;
  }();
  return rules;
}

std::u16string ResolveFirst(char16_t character, std::u16string_view text, std::int32_t position) {
  const int index = FirstRules().Resolve(character, text, position);
  return index < 0 ? std::u16string() : FirstRules().Readings()[static_cast<std::size_t>(index)];
}

class FirstRulesTest : public testing::TestWithParam<Row> {};

TEST_P(FirstRulesTest, ChooseTheReading) {
  const Row& row = GetParam();
  // The rules test the character argument, not the text, for identity.
  const char16_t character = row.text.at(static_cast<std::size_t>(row.position - 1));
  EXPECT_EQ(ResolveFirst(character, row.text, row.position), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, FirstRulesTest, testing::ValuesIn(kRows));

// Where the readings of words and the rules written by hand read a context of
// the first rules otherwise. Each is a reading a standard dictionary gives.
struct Changed {
  std::u16string_view text;
  int position;
  std::u16string_view now;
};

constexpr Changed kChanged[] = {
    {u"成长", 2, u"zhang3"},  // 成长 grows at the start of a text as well
    {u"团长", 2, u"zhang3"},  // the head of a regiment, at the start too
    {u"一行", 2, u"hang2"},   // 一行字, a line of text: the word data's reading
    {u"不了", 2, u"liao3"},   // 不了, "cannot", as in 吃不了 and 受不了
    {u"难为", 2, u"wei2"},    // 难为, to embarrass: wéi, as in 难为情
    {u"多少", 2, u"shao5"},   // 多少 duō shao, as a dictionary writes it
};

TEST(PolyphoneRules, KeepEveryOutcomeOfTheFirstRulesButTheListedChanges) {
  const PinyinDictionary dictionary = PinyinDictionary::LoadBuiltIn();
  const PinyinConverter converter(dictionary);
  for (const Row& row : kRows) {
    if (row.position < 1 || static_cast<std::size_t>(row.position) > row.text.size()) continue;
    const auto index = static_cast<std::size_t>(row.position - 1);
    const char16_t character = row.text[index];
    // The reading shown: the rule's, else the table's.
    const std::u16string before =
        row.expected.empty() ? std::u16string(dictionary.Reading(dictionary.ReadingIdOf(character)))
                             : std::u16string(row.expected);
    const auto now = converter.Readings(row.text, index, index + 1);
    ASSERT_EQ(now.size(), 1u);
    const auto changed = std::find_if(
        std::begin(kChanged), std::end(kChanged),
        [&](const Changed& c) { return c.text == row.text && c.position == row.position; });
    SCOPED_TRACE(testing::Message() << "position " << row.position << " of row " << (&row - kRows));
    if (changed == std::end(kChanged)) {
      EXPECT_TRUE(now[0] == before);
    } else {
      EXPECT_TRUE(now[0] == changed->now);
      EXPECT_TRUE(before != changed->now) << "listed as changed but reads as before";
    }
  }
}

TEST(ResolvePolyphone, PositionsOutsideTheTextReadNothingOutsideIt) {
  // Only defaults can apply: every context piece lies outside the text.
  EXPECT_EQ(ResolvePolyphone(u'和', u"暖和", 7), u"");
  EXPECT_EQ(ResolvePolyphone(u'和', u"暖和", -3), u"");
  EXPECT_EQ(ResolvePolyphone(u'重', u"重庆", 9), u"zhong4");
  EXPECT_EQ(ResolvePolyphone(u'长', u"成长", INT32_MIN), u"");
  EXPECT_EQ(ResolvePolyphone(u'长', u"", INT32_MAX), u"");
}

TEST(FirstRuleCharacters, AreExactlyTheCharactersTheRulesName) {
  // Each character once, though some have both a default and context tests.
  const std::u16string_view named = u"游乐呱谁行为背重见相看差和还更调少圈削了长";
  for (char32_t c = 0; c < 0x10000; ++c) {
    const auto character = static_cast<char16_t>(c);
    EXPECT_EQ(FirstRules().Names(character), named.find(character) != std::u16string_view::npos)
        << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace kelvaro
