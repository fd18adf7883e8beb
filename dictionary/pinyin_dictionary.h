#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// The table from Chinese characters to their one dictionary reading
// ("zhong1", "nü3"), parsed once from its text form:
//   one line per character: the character, a space, the reading, CR LF.
// Lookups go through a direct index by UTF-16 code unit; when a character
// stands on several lines the first one counts.
class PinyinDictionary {
 public:
  // Reading number 0 means "no reading".
  using ReadingId = std::uint16_t;

  // Parses dictionary text that has already been decoded to UTF-16.
  // Throws std::invalid_argument naming the line of a malformed entry.
  explicit PinyinDictionary(std::u16string_view text);

  // The table built into the program.
  static PinyinDictionary LoadBuiltIn();

  // The lookup of one character: its reading number, 0 for a miss.
  ReadingId ReadingIdOf(char16_t character) const { return (*index_)[character]; }
  std::u16string_view Reading(ReadingId id) const { return readings_[id]; }
  // Distinct readings, plus one for the unused id 0.
  std::size_t ReadingIdCount() const { return readings_.size(); }

 private:
  std::vector<std::u16string> readings_;
  std::unique_ptr<std::array<ReadingId, 0x10000>> index_;
};

}  // namespace kelvaro
