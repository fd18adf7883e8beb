#include "convert/tone_mark.h"

#include <gtest/gtest.h>

#include <string>

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
    {u"zhong1", u"zhōng"}, {u"guo2", u"guó"},     {u"hao3", u"hǎo"},     {u"ai4", u"ài"},
    {u"ou1", u"ōu"},       {u"xiong2", u"xióng"}, {u"er2", u"ér"},       {u"dui4", u"duì"},
    {u"shui3", u"shuǐ"},   {u"jiu3", u"jǐu"},     {u"liu4", u"lìu"},     {u"yue4", u"yuè"},
    {u"lüe4", u"lüè"},     {u"ju1", u"jū"},       {u"iao4", u"iào"},     {u"uang1", u"uāng"},
    {u"de5", u"de"},       {u"le5", u"le"},       {u"huo", u"huo"},      {u"", u""},
    {u"m2", u"m"},         {u"hm5", u"hm"},       {u"ZHONG1", u"ZHONG"}, {u"5", u""},
};

class AddToneMarkTest : public testing::TestWithParam<Row> {};

TEST_P(AddToneMarkTest, MarksTheCarrier) {
  EXPECT_EQ(AddToneMark(GetParam().reading), GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(MarkedLetters, AddToneMarkTest, testing::ValuesIn(kMarkedLetters));
INSTANTIATE_TEST_SUITE_P(CarrierChoice, AddToneMarkTest, testing::ValuesIn(kCarrierChoice));

}  // namespace
}  // namespace kelvaro
