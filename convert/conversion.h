#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/pinyin_dictionary.h"

namespace kelvaro {

// The form of the pinyin text.
enum class DisplayMode {
  kReadingOnly,           // "zhōng guó "
  kCharacterWithReading,  // "中(zhōng)国(guó)"
  kNone,                  // no option chosen: the pinyin text stays empty
};

struct ConversionResult {
  std::u16string pinyin;  // what the pinyin box shows
  std::u16string hints;   // what the typing-hint box shows
  bool operator==(const ConversionResult&) const = default;
};

// Turns a whole source text into its pinyin text and its hint text.
// For every character with a dictionary reading, in order: the polyphone
// rules may replace the reading; the tone-marked reading goes to the pinyin
// text, and the keys that type that same reading and a space to the hint text.
// Every other code unit (Latin letters, punctuation, line breaks, characters
// outside the table, surrogates) is dropped. All readings are prepared when
// the converter is built, so a conversion only copies them.
class PinyinConverter {
 public:
  explicit PinyinConverter(const PinyinDictionary& dictionary);

  ConversionResult Convert(std::u16string_view source, DisplayMode mode) const;
  // The same into an existing result, reusing its storage: cheaper for a
  // caller that converts again and again.
  void Convert(std::u16string_view source, DisplayMode mode, ConversionResult& result) const;

  // The tone-numbered readings that a conversion of source shows, in order,
  // after the polyphone rules: "重庆" -> {"chong2", "qing4"}, "暖和" ->
  // {"nuan3", "huo"} (a rule reading may lack its digit). Only the characters
  // at the 0-based positions from to to are read, each in the context of the
  // whole source.
  std::vector<std::u16string_view> Readings(std::u16string_view source, std::size_t from = 0,
                                            std::size_t to = std::u16string_view::npos) const;

  // The same with the 0-based position in source of each reading's character.
  struct PlacedReading {
    std::size_t position;
    std::u16string_view reading;
  };
  std::vector<PlacedReading> PlacedReadings(std::u16string_view source, std::size_t from = 0,
                                            std::size_t to = std::u16string_view::npos) const;

  // Where the text of each code unit of source starts in the pinyin text that
  // Convert(source, mode) writes, and at the end where that text ends: code
  // unit i wrote pinyin[starts[i], starts[i + 1]), empty for one without a
  // reading. This ties a syllable of the pinyin box to its character.
  std::vector<std::size_t> PinyinStarts(std::u16string_view source, DisplayMode mode) const;

  // How many code units of each output text each code unit of a source wrote.
  struct PieceLengths {
    std::vector<std::uint8_t> pinyin;
    std::vector<std::uint8_t> hints;
  };
  // Converts the code units of source from from to to, each in the context of
  // the whole source: result gets the texts of that stretch alone, and the
  // length of each unit's texts is appended to lengths.
  void ConvertStretch(std::u16string_view source, std::size_t from, std::size_t to,
                      DisplayMode mode, ConversionResult& result, PieceLengths& lengths) const;

 private:
  // The letters of the longest syllable, "zhuang"; its tone mark sits on one
  // of them. The output of one reading is bounded by it.
  static constexpr std::size_t kLongestSyllable = 6;
  // A short output text in a fixed array, copied as one block: room for the
  // longest syllable with a space after it, and a unit to spare.
  struct ShortText {
    std::array<char16_t, kLongestSyllable + 2> units{};
    std::uint8_t length = 0;
  };
  // The texts a conversion writes for one reading.
  struct PreparedReading {
    ShortText marked;        // "zhōng"
    ShortText markedSpaced;  // "zhōng "
    ShortText hintSpaced;    // "ZHONG "
    // The most either display mode writes for it: "中(zhōng)".
    std::uint8_t pinyinBound = 0;
  };

  // Converts source[from, to) into result; appends to lengths unless null.
  template <DisplayMode kMode>
  void ConvertIn(std::u16string_view source, std::size_t from, std::size_t to,
                 ConversionResult& result, PieceLengths* lengths) const;

  // Per code unit: 0 for a miss, else the reading id, with kRuleFlag set on
  // characters the polyphone rules name.
  static constexpr std::uint16_t kRuleFlag = 0x8000;
  std::unique_ptr<std::array<std::uint16_t, 0x10000>> index_;
  std::vector<PreparedReading> readings_;      // by dictionary reading id
  std::vector<PreparedReading> ruleReadings_;  // by polyphone reading index
  std::vector<std::u16string> numbered_;       // by dictionary reading id: "zhong1"
};

}  // namespace kelvaro
