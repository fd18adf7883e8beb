// Holds every entry of the shipped word list to the readings a teacher would
// write, as listed in tests/data/word-list-readings.tsv.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/utf8.h"
#include "convert/conversion.h"
#include "test_paths.h"
#include "wordlist/word_list_file.h"

namespace kelvaro {
namespace {

struct ExpectedReading {
  std::string entry;
  std::string pinyin;
  std::string hints;
};

std::vector<ExpectedReading> ReadExpectedTable() {
  std::ifstream file(KELVARO_SOURCE_DIR "/tests/data/word-list-readings.tsv");
  std::vector<ExpectedReading> rows;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    ExpectedReading row;
    std::getline(fields, row.entry, '\t');
    std::getline(fields, row.pinyin, '\t');
    std::getline(fields, row.hints, '\t');
    rows.push_back(row);
  }
  return rows;
}

TEST(ShippedWordList, EveryEntryShowsItsStandardReading) {
  std::ifstream file(KELVARO_WORD_LIST_FILE, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::u16string> entries = ParseWordList(bytes);
  ASSERT_FALSE(entries.empty());
  if (entries.back().empty()) entries.pop_back();  // the empty line that ends the list

  const std::vector<ExpectedReading> expected = ReadExpectedTable();
  ASSERT_EQ(entries.size(), expected.size()) << "the table must list every entry, in file order";
  static const PinyinDictionary dictionary = PinyinDictionary::LoadBuiltIn();
  const PinyinConverter converter(dictionary);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i + 1) + ": " + expected[i].entry);
    EXPECT_EQ(EncodeUtf8(entries[i]), expected[i].entry);
    const ConversionResult result = converter.Convert(entries[i], DisplayMode::kReadingOnly);
    EXPECT_EQ(EncodeUtf8(result.pinyin), expected[i].pinyin);
    EXPECT_EQ(EncodeUtf8(result.hints), expected[i].hints);
  }
}

}  // namespace
}  // namespace kelvaro
