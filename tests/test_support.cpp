#include "tests/test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "dictionary/text_codec.h"
#include "test_paths.h"

namespace kelvaro {

const PinyinDictionary& Dictionary() {
  static const PinyinDictionary dictionary = PinyinDictionary::LoadBuiltIn();
  return dictionary;
}

const PinyinConverter& Converter() {
  static const PinyinConverter converter(Dictionary());
  return converter;
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Utf8(std::u16string_view text) { return EncodeUtf8(text); }

void PrintTo(const ConversionResult& result, std::ostream* os) {
  *os << "pinyin \"" << Utf8(result.pinyin) << "\", hints \"" << Utf8(result.hints) << '"';
}

std::vector<ExpectedReading> ReadExpectedReadings(std::string_view tableName) {
  std::ifstream file(std::filesystem::path(KELVARO_SOURCE_DIR "/tests/data") / tableName);
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

}  // namespace kelvaro
