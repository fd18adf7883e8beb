#include "convert/tone_mark.h"

#include <gtest/gtest.h>

#include <string>

#include "dictionary/pinyin_dictionary.h"
#include "tests/test_support.h"

namespace kelvaro {
namespace {

struct Row {
  std::u16string_view reading;
  std::u16string_view marked;
};

// All 24 marked letters: each carrier alone with each of the four tones.
constexpr Row kMarkedLetters[] = {
    {u"a1", u"ā"},   {u"a2", u"á"},   {u"a3", u"ǎ"},   {u"a4", u"à"},   {u"o1", u"ō"},
    {u"o2", u"ó"},   {u"o3", u"ǒ"},   {u"o4", u"ò"},   {u"e1", u"ē"},   {u"e2", u"é"},
    {u"e3", u"ě"},   {u"e4", u"è"},   {u"yi1", u"yī"}, {u"yi2", u"yí"}, {u"yi3", u"yǐ"},
    {u"yi4", u"yì"}, {u"wu1", u"wū"}, {u"wu2", u"wú"}, {u"wu3", u"wǔ"}, {u"wu4", u"wù"},
    {u"lü1", u"lǖ"}, {u"lü2", u"lǘ"}, {u"nü3", u"nǚ"}, {u"lü4", u"lǜ"},
};

// Which letter carries the mark, the neutral tone, and readings without a digit.
constexpr Row kCarrierChoice[] = {
    {u"zhong1", u"zhōng"}, {u"guo2", u"guó"},   {u"hao3", u"hǎo"},
    {u"ai4", u"ài"},       {u"ou1", u"ōu"},     {u"xiong2", u"xióng"},
    {u"er2", u"ér"},       {u"dui4", u"duì"},   {u"shui3", u"shuǐ"},
    {u"yue4", u"yuè"},     {u"lüe4", u"lüè"},   {u"ju1", u"jū"},
    {u"iao4", u"iào"},     {u"uang1", u"uāng"}, {u"de5", u"de"},
    {u"le5", u"le"},       {u"huo", u"huo"},    {u"", u""},
    {u"m2", u"m"},         {u"hm5", u"hm"},     {u"ZHONG1", u"ZHONG"},
    {u"5", u""},           {u"you3", u"yǒu"},   {u"liu5", u"liu"},
};

// "iu" carries its mark on the u, as every textbook writes it (it used to go on
// the i: jǐu, lìu).
constexpr Row kIuOnTheU[] = {
    {u"jiu3", u"jiǔ"}, {u"liu4", u"liù"}, {u"niu2", u"niú"}, {u"qiu1", u"qiū"},
    {u"jiu4", u"jiù"}, {u"qiu2", u"qiú"}, {u"diu1", u"diū"}, {u"miu4", u"miù"},
    {u"xiu1", u"xiū"}, {u"liu2", u"liú"}, {u"xiu3", u"xiǔ"}, {u"niu3", u"niǔ"},
};

class AddToneMarkTest : public testing::TestWithParam<Row> {};

TEST_P(AddToneMarkTest, MarksTheCarrier) {
  EXPECT_EQ(AddToneMark(GetParam().reading), GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(MarkedLetters, AddToneMarkTest, testing::ValuesIn(kMarkedLetters));
INSTANTIATE_TEST_SUITE_P(CarrierChoice, AddToneMarkTest, testing::ValuesIn(kCarrierChoice));
INSTANTIATE_TEST_SUITE_P(IuOnTheU, AddToneMarkTest, testing::ValuesIn(kIuOnTheU));

// The pinyin box read back into readings: every marked row backwards, and
// syllables without a mark (the neutral tone, rule readings without a digit).
constexpr Row kUnmarked[] = {
    {u"le", u"le"}, {u"huo", u"huo"}, {u"", u""},
    {u"m", u"m"},   {u"lü", u"lü"},   {u"zhong", u"zhong"},
};

class RemoveToneMarkTest : public testing::TestWithParam<Row> {};

TEST_P(RemoveToneMarkTest, RestoresTheReading) {
  EXPECT_EQ(RemoveToneMark(GetParam().marked), GetParam().reading);
}

INSTANTIATE_TEST_SUITE_P(MarkedLetters, RemoveToneMarkTest, testing::ValuesIn(kMarkedLetters));
INSTANTIATE_TEST_SUITE_P(IuOnTheU, RemoveToneMarkTest, testing::ValuesIn(kIuOnTheU));
INSTANTIATE_TEST_SUITE_P(Unmarked, RemoveToneMarkTest, testing::ValuesIn(kUnmarked));
INSTANTIATE_TEST_SUITE_P(Syllables, RemoveToneMarkTest,
                         testing::Values(Row{u"zhong1", u"zhōng"}, Row{u"lüe4", u"lüè"},
                                         Row{u"jiu3", u"jiǔ"}, Row{u"shui2", u"shuí"}));

// The rule as pinyin textbooks teach it, stated apart from the code: a or e
// takes the mark if present; in "ou" the o; otherwise the last vowel.
std::u16string TextbookMark(std::u16string_view reading) {
  static constexpr std::u16string_view kVowels = u"aoeiuü";
  static constexpr std::u16string_view kMarked[] = {u"āáǎà", u"ōóǒò", u"ēéěè",
                                                    u"īíǐì", u"ūúǔù", u"ǖǘǚǜ"};
  std::u16string body(reading.substr(0, reading.size() - 1));
  const int tone = reading.back() - u'1';
  std::size_t at = body.find_first_of(u"ae");
  if (at == std::u16string::npos) at = body.find(u"ou");
  if (at == std::u16string::npos) at = body.find_last_of(kVowels);
  if (at != std::u16string::npos && tone >= 0 && tone < 4) {
    body[at] = kMarked[kVowels.find(body[at])][static_cast<std::size_t>(tone)];
  }
  return body;
}

TEST(AddToneMark, MarksEveryReadingOfTheTableAsTextbooksDo) {
  const PinyinDictionary& dictionary = Dictionary();
  for (std::size_t id = 1; id < dictionary.ReadingIdCount(); ++id) {
    const auto reading = dictionary.Reading(static_cast<PinyinDictionary::ReadingId>(id));
    SCOPED_TRACE(Utf8(reading));
    EXPECT_EQ(AddToneMark(reading), TextbookMark(reading));
  }
}

}  // namespace
}  // namespace kelvaro
