#include "convert/spoken_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace kelvaro {
namespace {

struct Row {
  std::u16string_view source;
  std::string_view spoken;
};

void PrintTo(const Row& row, std::ostream* os) { *os << Utf8(row.source); }

// What the voice is given, as a teacher reads the text aloud.
constexpr Row kRows[] = {
    // Neutral tones carry their 5.
    {u"妈妈", "ma1 ma5"},
    {u"暖和", "nuan3 huo5"},
    {u"对不起", "dui4 bu5 qi3"},
    {u"女", "nv3"},
    // 一 and 不 as spoken; 一 keeps yi1 in numbers, ordinals, dates and at the end.
    {u"一百分", "yi4 bai3 fen1"},
    {u"一个", "yi2 ge4"},
    {u"一只小鸟", "yi4 zhi1 xiao3 niao3"},
    {u"一起", "yi4 qi3"},
    {u"第一", "di4 yi1"},
    {u"十一", "shi2 yi1"},
    {u"一二三", "yi1 er4 san1"},
    {u"一月一日", "yi1 yue4 yi1 ri4"},
    {u"统一", "tong3 yi1"},
    {u"一，", "yi1,"},
    {u"不要", "bu2 yao4"},
    {u"不好", "bu4 hao3"},
    {u"不", "bu4"},
    // Digits as Chinese numbers: a year digit by digit, a count as a number.
    {u"我有3个apple。", "wo3 you3 san1 ge4."},
    {u"２０２６年", "er4 ling2 er4 liu4 nian2"},
    {u"1991年", "yi1 jiu3 jiu3 yi1 nian2"},
    {u"15", "shi2 wu3"},
    {u"10", "shi2"},
    {u"20", "er4 shi2"},
    {u"105", "yi4 bai3 ling2 wu3"},
    {u"110", "yi4 bai3 yi1 shi2"},
    {u"2026", "er4 qian1 ling2 er4 shi2 liu4"},
    {u"0", "ling2"},
    {u"007", "ling2 ling2 qi1"},
    {u"123456", "yi1 er4 san1 si4 wu3 liu4"},
    // Pauses: a clause pause, a sentence pause at the end of a sentence and a line.
    {u"床前明月光，疑是地上霜。\n举头望明月，\n低头思故乡。",
     "chuang2 qian2 ming2 yue4 guang1, yi2 shi4 di4 shang4 shuang1.\nju3 tou2 wang4 ming2 "
     "yue4.\ndi1 tou2 si1 gu4 xiang1."},
    {u"，。中国、", "zhong1 guo2,"},
    {u"abc", ""},
    {u"", ""},
};

class SpokenTextTest : public testing::TestWithParam<Row> {};

TEST_P(SpokenTextTest, ReadsAsATeacherDoes) {
  EXPECT_EQ(SpokenText(Converter(), GetParam().source), GetParam().spoken);
}

INSTANTIATE_TEST_SUITE_P(Examples, SpokenTextTest, testing::ValuesIn(kRows));

TEST(SpokenText, APartIsReadInTheContextOfTheWholeText) {
  EXPECT_EQ(SpokenText(Converter(), u"重庆", 0, 1), "chong2");
  EXPECT_EQ(SpokenText(Converter(), u"去重庆玩", 1, 3), "chong2 qing4");
  EXPECT_EQ(SpokenText(Converter(), u"我爱中国", 2, 99), "zhong1 guo2");
  EXPECT_EQ(SpokenText(Converter(), u"我爱中国", 3, 3), "");
  // The year is told by the 年 after the selection.
  EXPECT_EQ(SpokenText(Converter(), u"2026年", 0, 4), "er4 ling2 er4 liu4");
}

}  // namespace
}  // namespace kelvaro
