// Holds every entry of each word list that ships with the program (the list
// beside the program and the themed lists of the home page) to the readings a
// teacher would write, as listed in its table in tests/data/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "test_paths.h"
#include "tests/test_support.h"
#include "wordlist/word_list_file.h"

namespace kelvaro {
namespace {

struct ShippedList {
  const char* list;   // in the source tree
  const char* table;  // in tests/data/
};

void PrintTo(const ShippedList& shipped, std::ostream* os) { *os << shipped.list; }

constexpr ShippedList kShippedLists[] = {
    {"resources/" KELVARO_WORD_LIST_NAME, "word-list-readings.tsv"},
    {"resources/home/lists/animals.txt", "word-list-readings-animals.tsv"},
    {"resources/home/lists/food.txt", "word-list-readings-food.tsv"},
    {"resources/home/lists/family.txt", "word-list-readings-family.tsv"},
    {"resources/home/lists/school.txt", "word-list-readings-school.tsv"},
    {"resources/home/lists/festivals.txt", "word-list-readings-festivals.tsv"},
    {"resources/home/lists/phrases.txt", "word-list-readings-phrases.tsv"},
};

std::string ListBytes(const ShippedList& shipped) {
  return FileBytes(std::filesystem::path(KELVARO_SOURCE_DIR) /
                   std::u8string_view(reinterpret_cast<const char8_t*>(shipped.list)));
}

class ShippedWordList : public testing::TestWithParam<ShippedList> {};

TEST_P(ShippedWordList, EveryEntryShowsItsStandardReading) {
  const std::string bytes = ListBytes(GetParam());
  std::vector<std::u16string> entries = ParseWordList(bytes);
  ASSERT_FALSE(entries.empty());
  if (entries.back().empty()) entries.pop_back();  // the empty line that ends the list

  const std::vector<ExpectedReading> expected = ReadExpectedReadings(GetParam().table);
  ASSERT_EQ(entries.size(), expected.size()) << "the table must list every entry, in file order";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i + 1) + ": " + expected[i].entry);
    EXPECT_EQ(Utf8(entries[i]), expected[i].entry);
    const ConversionResult result = Converter().Convert(entries[i], DisplayMode::kReadingOnly);
    EXPECT_EQ(Utf8(result.pinyin), expected[i].pinyin);
    EXPECT_EQ(Utf8(result.hints), expected[i].hints);
  }
}

TEST_P(ShippedWordList, EndsEveryLineWithCrLf) {
  const std::string bytes = ListBytes(GetParam());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "a last line without CR LF is not read";
  for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
    ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "a bare line feed at byte " << at;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryList, ShippedWordList, testing::ValuesIn(kShippedLists));

TEST(ShippedWordList, EveryThemedListHasATable) {
  std::vector<std::string> listed;
  for (const ShippedList& shipped : kShippedLists) listed.emplace_back(shipped.list);
  for (const auto& file :
       std::filesystem::directory_iterator(KELVARO_SOURCE_DIR "/resources/home/lists")) {
    const std::string relative = "resources/home/lists/" + file.path().filename().string();
    EXPECT_NE(std::find(listed.begin(), listed.end(), relative), listed.end()) << relative;
  }
}

}  // namespace
}  // namespace kelvaro
