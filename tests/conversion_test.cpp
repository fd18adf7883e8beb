#include "convert/conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/tone_mark.h"
#include "tests/reference/lookup_reading.h"
#include "tests/reference/step_by_step_conversion.h"
#include "tests/test_support.h"

namespace kelvaro {
namespace {

struct Row {
  std::u16string_view source;
  std::u16string_view pinyin;
  std::u16string_view hints;
};

void PrintTo(const Row& row, std::ostream* os) { *os << '"' << Utf8(row.source) << '"'; }

constexpr Row kReadingOnlyRows[] = {
    {u"我爱中国", u"wǒ ài zhōng guó ", u"WO AI ZHONG GUO "},
    {u"", u"", u""},
    {u"abc 123", u"", u""},
    {u"中，国。", u"zhōng guó ", u"ZHONG GUO "},
    {u"中\r\n国", u"zhōng guó ", u"ZHONG GUO "},
    {u"重庆", u"chóng qìng ", u"CHONG QING "},
    // Hints type the reading that the pinyin text shows (they were made from
    // the dictionary reading before: CHONG YAO, SHEI, NUAN HE).
    {u"重要", u"zhòng yào ", u"ZHONG YAO "},
    {u"谁", u"shuí ", u"SHUI "},
    {u"暖和", u"nuǎn huo ", u"NUAN HUO "},
    {u"快乐", u"kuài lè ", u"KUAI LE "},
    {u"长大", u"zhǎng dà ", u"ZHANG DA "},
    {u"调皮", u"tiáo pí ", u"TIAO PI "},
    {u"知了", u"zhī liǎo ", u"ZHI LIAO "},
    {u"行走", u"xíng zǒu ", u"XING ZOU "},
    {u"还给你", u"huán gěi nǐ ", u"HUAN GEI NI "},
    {u"九六牛球就", u"jiǔ liù niú qiú jiù ", u"JIU LIU NIU QIU JIU "},
    {u"女", u"nǚ ", u"NV "},
    {u"绿", u"lǜ ", u"LV "},
    {u"略", u"lüè ", u"LVE "},
    {u"了", u"le ", u"LE "},
    {u"游", u"yóu ", u"YOU "},
    {u"六一儿童节", u"liù yī ér tóng jié ", u"LIU YI ER TONG JIE "},
    {u"ü", u"", u""},
    {u"肀", u"", u""},
    {u"重\r\n庆", u"zhòng qìng ", u"ZHONG QING "},
    {u"长大了", u"zhǎng dà le ", u"ZHANG DA LE "},
    {u"银行 行走", u"yín háng háng zǒu ", u"YIN HANG HANG ZOU "},  // "行 " before the second
    {u"妈妈", u"mā ma ", u"MA MA "},                               // the neutral tone of the word
    // Characters outside the basic plane and lone surrogates are dropped.
    {u"中\U00020000国", u"zhōng guó ", u"ZHONG GUO "},
    {u"\xD800中\xDC00", u"zhōng ", u"ZHONG "},
};

class ReadingOnlyTest : public testing::TestWithParam<Row> {};

TEST_P(ReadingOnlyTest, ConvertsTheSource) {
  const ConversionResult result = Converter().Convert(GetParam().source, DisplayMode::kReadingOnly);
  EXPECT_EQ(result.pinyin, GetParam().pinyin);
  EXPECT_EQ(result.hints, GetParam().hints);
}

INSTANTIATE_TEST_SUITE_P(Examples, ReadingOnlyTest, testing::ValuesIn(kReadingOnlyRows));

TEST(Conversion, CharacterWithReadingWritesEachCharacterBeforeItsReading) {
  const auto result = Converter().Convert(u"我爱中国", DisplayMode::kCharacterWithReading);
  EXPECT_EQ(result.pinyin, u"我(wǒ)爱(ài)中(zhōng)国(guó)");
  EXPECT_EQ(result.hints, u"WO AI ZHONG GUO ");
  EXPECT_EQ(Converter().Convert(u"重要", DisplayMode::kCharacterWithReading).pinyin,
            u"重(zhòng)要(yào)");
}

TEST(Conversion, HintsAreTheSameInEveryMode) {
  const std::u16string_view source = u"谁在银行里长大？暖和的春天，我们去看乐器。";
  const auto readingOnly = Converter().Convert(source, DisplayMode::kReadingOnly);
  const auto withCharacters = Converter().Convert(source, DisplayMode::kCharacterWithReading);
  const auto none = Converter().Convert(source, DisplayMode::kNone);
  EXPECT_EQ(readingOnly.hints, withCharacters.hints);
  EXPECT_EQ(readingOnly.hints, none.hints);
  EXPECT_EQ(none.pinyin, u"");
}

TEST(Conversion, LongTextMatchesPieceByPieceConversion) {
  // A long text converts to the concatenation of its sentences' conversions
  // when no sentence boundary is a polyphone context.
  const std::u16string sentence = u"小朋友们在公园里快乐地做游戏，大家一起长大。\r\n";
  std::u16string longText;
  for (int i = 0; i < 2000; ++i) {
    longText += sentence;
  }
  const auto one = Converter().Convert(sentence, DisplayMode::kReadingOnly);
  const auto all = Converter().Convert(longText, DisplayMode::kReadingOnly);
  ASSERT_EQ(all.pinyin.size(), one.pinyin.size() * 2000);
  ASSERT_EQ(all.hints.size(), one.hints.size() * 2000);
  for (std::size_t i = 0; i < 2000; i += 399) {
    SCOPED_TRACE("sentence " + std::to_string(i + 1));
    EXPECT_EQ(all.pinyin.substr(i * one.pinyin.size(), one.pinyin.size()), one.pinyin);
    EXPECT_EQ(all.hints.substr(i * one.hints.size(), one.hints.size()), one.hints);
  }
}

TEST(Conversion, EqualsTheStepByStepConversion) {
  // Every rule character before, between and after every other one.
  const std::u16string_view rules = u"游乐呱谁行为背重见相看差和还更调少圈削了长";
  const std::u16string_view neighbours =
      u"庆重低牛片照白弟护别错暖异客法难情乡给换三皮协空年方时里啃养器《》竹简知飞不向违捶大上到蓝"
      u"水快成 \n";
  std::u16string text;
  for (const char16_t a : neighbours) {
    for (const char16_t rule : rules) {
      text += a;
      text += rule;
      text += neighbours[(a + rule) % neighbours.size()];
    }
  }
  for (const DisplayMode mode :
       {DisplayMode::kReadingOnly, DisplayMode::kCharacterWithReading, DisplayMode::kNone}) {
    EXPECT_EQ(Converter().Convert(text, mode), ConvertStepByStep(BuiltInTableText(), text, mode));
  }
}

// Each character's stretch of the pinyin text is its own reading, as the
// step-by-step conversion writes the whole text, in every mode.
TEST(Conversion, PinyinStartsCutThePinyinTextIntoEachCharactersReading) {
  std::u16string text;
  const std::u16string_view rules = u"只地得着长重行了还和一不";
  const std::u16string_view neighbours = u"一这那高兴睡很我去庆要大，a\n 𠀀";
  for (const char16_t a : neighbours) {
    for (const char16_t rule : rules) {
      text += a;
      text += rule;
      text += neighbours[(a * 7 + rule) % neighbours.size()];
    }
  }
  for (const DisplayMode mode :
       {DisplayMode::kReadingOnly, DisplayMode::kCharacterWithReading, DisplayMode::kNone}) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)));
    const std::u16string pinyin = ConvertStepByStep(BuiltInTableText(), text, mode).pinyin;
    const auto starts = Converter().PinyinStarts(text, mode);
    ASSERT_EQ(starts.size(), text.size() + 1);
    EXPECT_EQ(starts.front(), 0u);
    EXPECT_EQ(starts.back(), pinyin.size());
    std::vector<std::u16string> expected(text.size());
    if (mode != DisplayMode::kNone) {
      for (const auto& placed : Converter().PlacedReadings(text)) {
        const std::u16string marked = AddToneMark(placed.reading);
        expected[placed.position] = mode == DisplayMode::kReadingOnly
                                        ? marked + u" "
                                        : text[placed.position] + (u"(" + marked + u")");
      }
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
      ASSERT_LE(starts[i], starts[i + 1]);
      ASSERT_LE(starts[i + 1], pinyin.size());
      EXPECT_EQ(pinyin.substr(starts[i], starts[i + 1] - starts[i]), expected[i])
          << "at " << i << " in \"" << Utf8(text.substr(i > 2 ? i - 2 : 0, 5)) << "\"";
    }
  }
}

TEST(Conversion, IntoAnExistingResultGivesTheSameAsAFreshOne) {
  ConversionResult reused;
  const std::u16string_view sources[] = {u"我爱中国，长大了要去重庆。", u"", u"谁", u"abc",
                                         u"银行 行走"};
  for (const DisplayMode mode : {DisplayMode::kReadingOnly, DisplayMode::kCharacterWithReading}) {
    for (const auto source : sources) {
      SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)) + ", source \"" + Utf8(source) +
                   "\"");
      Converter().Convert(source, mode, reused);
      EXPECT_EQ(reused, Converter().Convert(source, mode));
    }
  }
}

TEST(Conversion, EveryCodeUnitConvertsWithoutHarm) {
  std::u16string everything;
  for (char32_t c = 1; c < 0x10000; ++c) {
    everything.push_back(static_cast<char16_t>(c));
  }
  const auto result = Converter().Convert(everything, DisplayMode::kReadingOnly);
  for (const char16_t c : result.hints) {
    ASSERT_TRUE(c == u' ' || (c >= u'A' && c <= u'Z')) << static_cast<int>(c);
  }
  EXPECT_EQ(result.pinyin.find_first_of(u"\r\n"), std::u16string::npos);
  EXPECT_FALSE(result.pinyin.empty());
}

}  // namespace
}  // namespace kelvaro
