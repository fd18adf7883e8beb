#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelvaro {

// The reading of a polyphonic character chosen from its neighbours in the
// source text, or its default reading, or empty when no rule applies.
// position is the 1-based index of the character in text (UTF-16 units).
std::u16string ResolvePolyphone(char16_t character, std::u16string_view text,
                                std::int32_t position);

// The same decision as an index into PolyphoneReadings(), or -1 for none;
// lets the conversion use readings it prepared in advance.
int ResolvePolyphoneIndex(char16_t character, std::u16string_view text, std::int32_t position);

// Every reading the rules can give, in a fixed order.
std::span<const std::u16string_view> PolyphoneReadings();

// True for the characters that the rules name; the others always give empty.
bool IsPolyphoneRuleCharacter(char16_t character);

}  // namespace kelvaro
