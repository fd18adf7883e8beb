#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dictionary/pinyin_dictionary.h"

namespace kelvaro {

// The built-in table decoded to UTF-16: the text the plain search reads.
const std::u16string& BuiltInTableText();

// The lookup as a plain search of the dictionary text: the reading of the
// first line that starts with the character, or a miss. It is the reference
// that the direct index of PinyinDictionary must agree with; the conversion
// itself uses the index.
std::optional<std::u16string_view> LookupReading(std::u16string_view dictionaryText,
                                                 char16_t character);

// The reading that the direct index of the dictionary gives, or a miss.
std::optional<std::u16string_view> IndexedReading(const PinyinDictionary& dictionary,
                                                  char16_t character);

// True when the character has a two-byte GBK code (lead byte 0x81 to 0xFE):
// the characters that take part in a lookup by plain search.
bool HasTwoByteGbkCode(char16_t character);

}  // namespace kelvaro
