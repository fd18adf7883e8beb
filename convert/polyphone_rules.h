#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelvaro {

// The reading of a polyphonic character chosen from its neighbours in the
// source text, or its default reading, as an index into PolyphoneReadings();
// -1 when no rule applies. position is the 1-based index of the character in
// text (UTF-16 units). An index lets the conversion use readings it prepared
// in advance. The rules are, in order of evaluation, the program's first
// rules, the readings of words (resources/word-readings.txt) and the rules
// written by hand (resources/reading-rules.txt); the last that holds decides.
int ResolvePolyphoneIndex(char16_t character, std::u16string_view text, std::int32_t position);

// Every reading the rules can give, in a fixed order.
std::span<const std::u16string> PolyphoneReadings();

// True for the characters that the rules name; the others always give -1.
bool IsPolyphoneRuleCharacter(char16_t character);

// How far the rules look: the reading of a character depends only on the
// characters up to `characters` away on either side, and on its position only
// while that is at most `position`.
struct PolyphoneReach {
  std::size_t characters;
  std::size_t position;
};
PolyphoneReach PolyphoneRulesReach();

}  // namespace kelvaro
