#include "tests/reference/polyphone_reading.h"

#include "convert/polyphone_rules.h"

namespace kelvaro {

std::u16string ResolvePolyphone(char16_t character, std::u16string_view text,
                                std::int32_t position) {
  const int index = ResolvePolyphoneIndex(character, text, position);
  return index < 0 ? std::u16string()
                   : std::u16string(PolyphoneReadings()[static_cast<std::size_t>(index)]);
}

}  // namespace kelvaro
