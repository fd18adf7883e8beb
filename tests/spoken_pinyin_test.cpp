#include "convert/spoken_pinyin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/conversion.h"
#include "tests/test_support.h"

namespace kelvaro {
namespace {

struct SourceRow {
  std::u16string_view source;
  std::string_view spoken;
};

void PrintTo(const SourceRow& row, std::ostream* os) { *os << row.spoken; }

// What the voice is given for a source text: the readings the pinyin box
// shows, after the polyphone rules, with their tone digits.
constexpr SourceRow kSourceRows[] = {
    {u"重庆", "chong2 qing4"},
    {u"重要", "zhong4 yao4"},
    {u"暖和", "nuan3 huo5"},  // a reading without digit is the neutral tone
    {u"女", "nv3"},           // the voice reads ü only when written v
    {u"绿色", "lv4 se4"},
    {u"略", "lve4"},
    {u"了", "le5"},
    {u"谁", "shui2"},
    {u"我爱中国", "wo3 ai4 zhong1 guo2"},
    {u"中，国。\r\n好", "zhong1 guo2 hao3"},
    {u"银行 行走", "yin2 hang2 hang2 zou3"},
    {u"abc 123", ""},
    {u"", ""},
};

class SpokenSourceTest : public testing::TestWithParam<SourceRow> {};

TEST_P(SpokenSourceTest, SpeaksTheReadingsThePinyinBoxShows) {
  EXPECT_EQ(SpokenPinyin(Converter().Readings(GetParam().source)), GetParam().spoken);
}

INSTANTIATE_TEST_SUITE_P(Examples, SpokenSourceTest, testing::ValuesIn(kSourceRows));

struct ShownRow {
  std::u16string_view shown;
  std::vector<std::u16string> readings;
};

void PrintTo(const ShownRow& row, std::ostream* os) { *os << '"' << Utf8(row.shown) << '"'; }

// A selection of the pinyin box back to its readings.
const ShownRow kShownRows[] = {
    {u"chóng qìng ", {u"chong2", u"qing4"}},
    {u"nuǎn huo ", {u"nuan3", u"huo"}},
    {u"nǚ lǜ lüè le", {u"nü3", u"lü4", u"lüe4", u"le"}},
    {u"中(zhōng)国(guó)", {u"zhong1", u"guo2"}},
    {u"  jiǔ\n\nliù  ", {u"jiu3", u"liu4"}},
    {u"ng ", {u"ng"}},
    {u"", {}},
    {u"中国 123 ，", {}},
};

class ShownPinyinTest : public testing::TestWithParam<ShownRow> {};

TEST_P(ShownPinyinTest, ReadsEachMarkedSyllableBack) {
  EXPECT_EQ(ReadingsOfMarkedPinyin(GetParam().shown), GetParam().readings);
}

INSTANTIATE_TEST_SUITE_P(Examples, ShownPinyinTest, testing::ValuesIn(kShownRows));

struct PartRow {
  std::u16string_view source;
  std::size_t from;
  std::size_t to;
  std::string_view spoken;
};

void PrintTo(const PartRow& row, std::ostream* os) { *os << row.spoken; }

// A selection of the source box is read in the context of the whole text.
constexpr PartRow kPartRows[] = {
    {u"重庆", 0, 1, "chong2"},  // 重 alone would read zhong4
    {u"去重庆玩", 1, 3, "chong2 qing4"},
    {u"今天很暖和。", 3, 5, "nuan3 huo5"},
    {u"暖和", 1, 2, "huo5"},
    {u"我爱中国", 2, 99, "zhong1 guo2"},  // past the end: up to the end
    {u"我爱中国", 3, 3, ""},
    {u"我爱中国", 7, 9, ""},
};

class SpokenPartTest : public testing::TestWithParam<PartRow> {};

TEST_P(SpokenPartTest, ReadsThePartInItsContext) {
  const PartRow& row = GetParam();
  EXPECT_EQ(SpokenPinyin(Converter().Readings(row.source, row.from, row.to)), row.spoken);
}

INSTANTIATE_TEST_SUITE_P(Examples, SpokenPartTest, testing::ValuesIn(kPartRows));

TEST(SpokenPinyin, ThePinyinBoxSpeaksAsItsSourceDoes) {
  // The box drops the digit 5 of the neutral tone; the voice is given it back.
  const std::u16string_view source = u"小朋友们在公园里做游戏，我的好朋友长大了。";
  const auto shown =
      ReadingsOfMarkedPinyin(Converter().Convert(source, DisplayMode::kReadingOnly).pinyin);
  const std::vector<std::u16string_view> shownViews(shown.begin(), shown.end());
  EXPECT_EQ(SpokenPinyin(shownViews), SpokenPinyin(Converter().Readings(source)));
  EXPECT_EQ(SpokenPinyin(shownViews),
            "xiao3 peng2 you3 men5 zai4 gong1 yuan2 li3 zuo4 you2 xi4 wo3 de5 hao3 peng2 you5 "
            "zhang3 da4 le5");
}

}  // namespace
}  // namespace kelvaro
