#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvaro {

// The reading the polyphone rules choose for the character at the 1-based
// position of text, as text: what ResolvePolyphoneIndex picks from
// PolyphoneReadings(), or empty when no rule applies.
std::u16string ResolvePolyphone(char16_t character, std::u16string_view text,
                                std::int32_t position);

}  // namespace kelvaro
