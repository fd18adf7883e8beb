#pragma once

// Helpers that the tests share: the built-in table and a converter over it,
// a file's bytes, readable failure messages, and the readings tables of
// tests/data/.
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion.h"
#include "dictionary/pinyin_dictionary.h"

namespace kelvaro {

// The table built into the program, loaded once per test program.
const PinyinDictionary& Dictionary();
// A converter over that table.
const PinyinConverter& Converter();

// The bytes of a file, read by the test itself; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& path);

// UTF-16 text as UTF-8, for failure messages.
std::string Utf8(std::u16string_view text);

// Prints a conversion result as its two texts, so that a failed comparison
// shows readable pinyin and hints.
void PrintTo(const ConversionResult& result, std::ostream* os);

// One row of a readings table: an entry of a word list and what its pinyin
// and hint boxes must show, all in UTF-8.
struct ExpectedReading {
  std::string entry;
  std::string pinyin;
  std::string hints;
};

// The rows of a readings table in tests/data/ (tab-separated, lines starting
// with # are comments), in file order.
std::vector<ExpectedReading> ReadExpectedReadings(std::string_view tableName);

}  // namespace kelvaro
