#pragma once

#include <string>
#include <string_view>

namespace kelvaro {

// Drops the tone digit of a reading and marks one vowel:
// "zhong1" -> "zhōng", "jiu3" -> "jǐu", "de5" -> "de", "huo" -> "huo".
// The carrier is the first of a, o, e, i, u, ü that occurs in the syllable.
std::u16string AddToneMark(std::u16string_view reading);

}  // namespace kelvaro
