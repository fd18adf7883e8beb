// Checks the shipped table file line by line, and that the table compiled
// into the program is that file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "dictionary/builtin_table.h"
#include "dictionary/pinyin_dictionary.h"
#include "dictionary/text_codec.h"
#include "test_paths.h"
#include "tests/reference/lookup_reading.h"

namespace kelvaro {
namespace {

std::string ReadTableFile() {
  std::ifstream file(KELVARO_PINYIN_TABLE_FILE, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Line {
  char16_t character;
  std::u16string reading;
};

std::vector<Line> SplitLines(std::u16string_view text) {
  std::vector<Line> lines;
  for (std::size_t start = 0; start < text.size();) {
    SCOPED_TRACE("line " + std::to_string(lines.size() + 1));
    const std::size_t end = text.find(u"\r\n", start);
    EXPECT_NE(end, std::u16string_view::npos) << "last line lacks CR LF";
    if (end == std::u16string_view::npos) {
      break;
    }
    const auto line = text.substr(start, end - start);
    EXPECT_GE(line.size(), 4u);
    EXPECT_EQ(line[1], u' ');
    lines.push_back({line[0], std::u16string(line.substr(2))});
    start = end + 2;
  }
  return lines;
}

TEST(PinyinTableFile, IsTheTableCompiledIntoTheProgram) {
  EXPECT_EQ(ReadTableFile(), BuiltInTableGbk());
}

TEST(PinyinTableFile, EveryLineIsAnIdeographASpaceAndAReadingWithTone) {
  const std::string bytes = ReadTableFile();
  const std::u16string text = DecodeGbk(bytes);
  ASSERT_EQ(text.find(u'\uFFFD'), std::u16string::npos) << "the file is not clean GBK";
  ASSERT_EQ(EncodeGbk(text), bytes);
  const auto lines = SplitLines(text);
  ASSERT_GT(lines.size(), 20000u);
  std::set<char16_t> seen;
  for (const Line& line : lines) {
    SCOPED_TRACE("character " + std::to_string(static_cast<int>(line.character)));
    // An ideograph, or 〇, the zero of written years.
    EXPECT_TRUE((line.character >= 0x4E00 && line.character <= 0x9FFF) || line.character == u'〇')
        << static_cast<int>(line.character);
    EXPECT_TRUE(HasTwoByteGbkCode(line.character)) << static_cast<int>(line.character);
    EXPECT_TRUE(seen.insert(line.character).second)
        << "repeated " << static_cast<int>(line.character);
    const std::u16string& reading = line.reading;
    ASSERT_GE(reading.size(), 2u);
    EXPECT_TRUE(reading.back() >= u'1' && reading.back() <= u'5');
    for (std::size_t i = 0; i + 1 < reading.size(); ++i) {
      const char16_t c = reading[i];
      EXPECT_TRUE((c >= u'a' && c <= u'z' && c != u'v') || c == u'ü') << static_cast<int>(c);
    }
  }
}

struct RequiredRow {
  char16_t character;
  std::u16string_view reading;
};

constexpr RequiredRow kRequiredRows[] = {
    {u'啊', u"a1"},     {u'不', u"bu4"},    {u'女', u"nü3"},    {u'绿', u"lü4"},
    {u'略', u"lüe4"},   {u'游', u"you5"},   {u'重', u"chong2"}, {u'还', u"hai2"},
    {u'乐', u"yue4"},   {u'见', u"jian4"},  {u'更', u"geng4"},  {u'呱', u"gu1"},
    {u'相', u"xiang1"}, {u'调', u"diao4"},  {u'谁', u"shei2"},  {u'看', u"kan4"},
    {u'少', u"shao3"},  {u'行', u"hang2"},  {u'差', u"cha4"},   {u'圈', u"quan1"},
    {u'为', u"wei2"},   {u'和', u"he2"},    {u'削', u"xue1"},   {u'背', u"bei4"},
    {u'了', u"le5"},    {u'长', u"chang2"}, {u'禬', u"gui4"},   {u'瑳', u"cuo1"},
    {u'吧', u"ba5"},    {u'似', u"si4"},    {u'甚', u"shen4"},  {u'杠', u"gang4"},
    {u'框', u"kuang4"}, {u'中', u"zhong1"}, {u'国', u"guo2"},
};

TEST(PinyinDictionary, HoldsTheRequiredRows) {
  const auto dictionary = PinyinDictionary::LoadBuiltIn();
  for (const RequiredRow& row : kRequiredRows) {
    const auto reading = IndexedReading(dictionary, row.character);
    ASSERT_TRUE(reading.has_value()) << static_cast<int>(row.character);
    EXPECT_EQ(*reading, row.reading) << static_cast<int>(row.character);
  }
}

TEST(PinyinDictionary, MissesWhatItDoesNotHold) {
  const auto dictionary = PinyinDictionary::LoadBuiltIn();
  for (const char16_t c : std::u16string_view(u"肀，。ü a\r\n1")) {
    EXPECT_FALSE(IndexedReading(dictionary, c).has_value()) << static_cast<int>(c);
  }
}

TEST(PinyinDictionary, RejectsMalformedLinesNamingTheLine) {
  const std::u16string_view bad[] = {u"中 zhong1\r\n国 guo\r\n", u"中 zhong1", u"中zhong1\r\n",
                                     u"中 Zhong1\r\n", u"中 \r\n"};
  for (std::size_t i = 0; i < std::size(bad); ++i) {
    SCOPED_TRACE("malformed text " + std::to_string(i + 1));
    EXPECT_THROW(PinyinDictionary{std::u16string(bad[i])}, std::invalid_argument);
  }
  try {
    PinyinDictionary{std::u16string(u"中 zhong1\r\n国 guo\r\n")};
  } catch (const std::invalid_argument& error) {
    EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
  }
}

TEST(PinyinDictionary, TheFirstLineOfARepeatedCharacterCounts) {
  const PinyinDictionary dictionary(u"不 bu4\r\n不 fou3\r\n女 nü3\r\n");
  EXPECT_EQ(IndexedReading(dictionary, u'不'), u"bu4");
  EXPECT_EQ(IndexedReading(dictionary, u'女'), u"nü3");
  EXPECT_EQ(dictionary.ReadingIdCount(), 3u);  // bu4, nü3 and the unused 0: fou3 is not kept
}

}  // namespace
}  // namespace kelvaro
