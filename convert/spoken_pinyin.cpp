#include "convert/spoken_pinyin.h"

#include "convert/tone_mark.h"

namespace kelvaro {
namespace {

// Latin small letters, ü, and the tone-marked vowels.
bool IsPinyinLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || c == u'ü' || RemoveToneMark({&c, 1}).size() == 2;
}

}  // namespace

std::string SpokenPinyin(std::span<const std::u16string_view> readings) {
  std::string spoken;
  for (const std::u16string_view reading : readings) {
    if (!spoken.empty()) spoken += ' ';
    for (const char16_t c : reading) {
      if (c == u'ü') {
        spoken += 'v';
      } else if (c < 0x80) {
        spoken += static_cast<char>(c);
      }
    }
    // A reading without digit ("le" read back from the pinyin box, "huo" of
    // 暖和) is the neutral tone: without the 5 the voice reads a first tone.
    if (!reading.empty() && (reading.back() < u'1' || reading.back() > u'5')) spoken += '5';
  }
  return spoken;
}

std::vector<std::u16string> ReadingsOfMarkedPinyin(std::u16string_view shown) {
  std::vector<std::u16string> readings;
  std::size_t start = 0;
  while (start < shown.size()) {
    while (start < shown.size() && !IsPinyinLetter(shown[start])) ++start;
    std::size_t end = start;
    while (end < shown.size() && IsPinyinLetter(shown[end])) ++end;
    if (end > start) readings.push_back(RemoveToneMark(shown.substr(start, end - start)));
    start = end;
  }
  return readings;
}

}  // namespace kelvaro
