#pragma once

#include <string>
#include <string_view>

namespace kelvaro {

// Drops the tone digit of a reading and marks one vowel:
// "zhong1" -> "zhōng", "jiu3" -> "jiǔ", "de5" -> "de", "huo" -> "huo".
// The carrier is the u of "iu" in a syllable without a, o and e; otherwise
// the first of a, o, e, i, u, ü that occurs in the syllable.
std::u16string AddToneMark(std::u16string_view reading);

// The reading a tone-marked syllable was made from: "zhōng" -> "zhong1",
// "nǚ" -> "nü3". An unmarked syllable is returned as it is ("le", "huo").
std::u16string RemoveToneMark(std::u16string_view syllable);

}  // namespace kelvaro
