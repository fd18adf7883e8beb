#include "tests/reference/lookup_reading.h"

#include "dictionary/builtin_table.h"
#include "dictionary/text_codec.h"

namespace kelvaro {

const std::u16string& BuiltInTableText() {
  static const std::u16string text = DecodeGbk(BuiltInTableGbk());
  return text;
}

std::optional<std::u16string_view> LookupReading(std::u16string_view dictionaryText,
                                                 char16_t character) {
  // Only an occurrence at the start of a line, followed by the space, is a
  // first field: ü, for one, occurs inside readings and must stay a miss.
  for (std::size_t at = dictionaryText.find(character); at != std::u16string_view::npos;
       at = dictionaryText.find(character, at + 1)) {
    const bool startsLine = at == 0 || (at >= 2 && dictionaryText.substr(at - 2, 2) == u"\r\n");
    if (!startsLine || at + 1 >= dictionaryText.size() || dictionaryText[at + 1] != u' ') {
      continue;
    }
    const std::size_t readingStart = at + 2;
    const std::size_t lineEnd = dictionaryText.find(u"\r\n", readingStart);
    if (lineEnd == std::u16string_view::npos) {
      return std::nullopt;
    }
    return dictionaryText.substr(readingStart, lineEnd - readingStart);
  }
  return std::nullopt;
}

std::optional<std::u16string_view> IndexedReading(const PinyinDictionary& dictionary,
                                                  char16_t character) {
  const PinyinDictionary::ReadingId id = dictionary.ReadingIdOf(character);
  if (id == 0) {
    return std::nullopt;
  }
  return dictionary.Reading(id);
}

bool HasTwoByteGbkCode(char16_t character) {
  const auto encoded = EncodeGbk(std::u16string_view(&character, 1));
  if (!encoded || encoded->size() != 2) {
    return false;
  }
  const auto lead = static_cast<unsigned char>((*encoded)[0]);
  return lead >= 0x81 && lead <= 0xFE;
}

}  // namespace kelvaro
