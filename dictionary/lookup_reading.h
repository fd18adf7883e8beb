#pragma once

#include <optional>
#include <string_view>

namespace kelvaro {

// The lookup as a plain search of the dictionary text: the reading of the
// first line that starts with the character, or a miss. It is the reference
// that the direct index of PinyinDictionary must agree with; the conversion
// itself uses the index.
std::optional<std::u16string_view> LookupReading(std::u16string_view dictionaryText,
                                                 char16_t character);

}  // namespace kelvaro
