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
    {u"我有3个苹果。", "wo3 you3 san1 ge4 ping2 guo3."},
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
    {u"", ""},
    {u"※★", ""},
    // Latin words go to the English voice, each stretch of pinyin to the
    // pinyin voice; full-width letters are read as the letters they are.
    {u"我有3个apple。",
     "<voice name=\"cmn-latn-pinyin\">wo3 you3 san1 ge4 </voice><voice "
     "name=\"en\">apple.</voice>"},
    {u"ＡＢＣ，一二三",
     "<voice name=\"en\">ABC, </voice><voice name=\"cmn-latn-pinyin\">yi1 er4 san1</voice>"},
    {u"abc", "<voice name=\"en\">abc</voice>"},
    {u"Tom和Lily是好朋友。",
     "<voice name=\"en\">Tom </voice><voice name=\"cmn-latn-pinyin\">he2 </voice><voice "
     "name=\"en\">Lily </voice><voice name=\"cmn-latn-pinyin\">shi4 hao3 peng2 you5.</voice>"},
};

class SpokenTextTest : public testing::TestWithParam<Row> {};

TEST_P(SpokenTextTest, ReadsAsATeacherDoes) {
  EXPECT_EQ(SpeechOf(Converter(), GetParam().source).text, GetParam().spoken);
}

// The words as cut from the text at their offsets, and the source each reads.
std::string WordsAndSources(const Speech& speech, std::u16string_view source) {
  std::string listed;
  for (const SpokenWord& word : speech.words) {
    const std::size_t end = speech.text.find_first_of(" ,.\n<", word.offset);
    listed += speech.text.substr(word.offset, end - word.offset) + "=" +
              Utf8(source.substr(word.from, word.to - word.from)) + " ";
  }
  return listed;
}

struct WordRow {
  std::u16string_view source;
  std::string_view words;
};

void PrintTo(const WordRow& row, std::ostream* os) { *os << Utf8(row.source); }

// Each word the voice says points to the characters it reads, for the
// highlight that follows the voice.
constexpr WordRow kWordRows[] = {
    {u"一只小鸟", "yi4=一 zhi1=只 xiao3=小 niao3=鸟 "},
    {u"我有15个apple。", "wo3=我 you3=有 shi2=15 wu3=15 ge4=个 apple=apple "},
    {u"２０２６年，好！\n再见",
     "er4=２０２６ ling2=２０２６ er4=２０２６ liu4=２０２６ nian2=年 "
     "hao3=好 zai4=再 jian4=见 "},
    {u"Tom和ＬＩＬＹ", "Tom=Tom he2=和 LILY=ＬＩＬＹ "},
    {u"“暖和”", "nuan3=暖 huo5=和 "},
};

class SpokenWordsTest : public testing::TestWithParam<WordRow> {};

TEST_P(SpokenWordsTest, EachWordPointsToItsCharacters) {
  const Speech speech = SpeechOf(Converter(), GetParam().source);
  EXPECT_EQ(WordsAndSources(speech, GetParam().source), GetParam().words) << speech.text;
}

INSTANTIATE_TEST_SUITE_P(Examples, SpokenWordsTest, testing::ValuesIn(kWordRows));

// Across every row of the first table: the words are in order, start after
// a separator or a voice element, and together they are every word of the
// text.
TEST(SpokenText, WordsCoverTheTextInOrder) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(Utf8(row.source));
    const Speech speech = SpeechOf(Converter(), row.source);
    std::string untagged;  // the text without voice elements or pause marks
    for (std::size_t i = 0; i < speech.text.size(); ++i) {
      if (speech.text[i] == '<') {
        i = speech.text.find('>', i);
        untagged += ' ';
      } else {
        untagged +=
            std::string(",.\n").find(speech.text[i]) == std::string::npos ? speech.text[i] : ' ';
      }
    }
    std::string cut;
    std::size_t last = 0;
    for (const SpokenWord& word : speech.words) {
      ASSERT_TRUE(cut.empty() || word.offset > last);
      ASSERT_TRUE(word.offset == 0 ||
                  std::string(" \n>").find(speech.text[word.offset - 1]) != std::string::npos);
      ASSERT_LT(word.from, word.to);
      last = word.offset;
      const std::size_t end = speech.text.find_first_of(" ,.\n<", word.offset);
      cut += speech.text.substr(word.offset, end - word.offset) + " ";
    }
    std::string words;
    for (std::size_t i = 0; i < untagged.size();) {
      const std::size_t start = untagged.find_first_not_of(' ', i);
      if (start == std::string::npos) break;
      const std::size_t end = std::min(untagged.find(' ', start), untagged.size());
      words += untagged.substr(start, end - start) + " ";
      i = end;
    }
    EXPECT_EQ(cut, words);
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, SpokenTextTest, testing::ValuesIn(kRows));

TEST(SpokenText, APartIsReadInTheContextOfTheWholeText) {
  EXPECT_EQ(SpeechOf(Converter(), u"重庆", 0, 1).text, "chong2");
  EXPECT_EQ(SpeechOf(Converter(), u"去重庆玩", 1, 3).text, "chong2 qing4");
  EXPECT_EQ(SpeechOf(Converter(), u"我爱中国", 2, 99).text, "zhong1 guo2");
  EXPECT_EQ(SpeechOf(Converter(), u"我爱中国", 3, 3).text, "");
  // The year is told by the 年 after the selection.
  EXPECT_EQ(SpeechOf(Converter(), u"2026年", 0, 4).text, "er4 ling2 er4 liu4");
}

}  // namespace
}  // namespace kelvaro
