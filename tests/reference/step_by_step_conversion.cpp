#include "tests/reference/step_by_step_conversion.h"

#include "convert/tone_mark.h"
#include "convert/typing_hint.h"
#include "tests/reference/lookup_reading.h"
#include "tests/reference/polyphone_reading.h"

namespace kelvaro {

ConversionResult ConvertStepByStep(std::u16string_view dictionaryText, std::u16string_view source,
                                   DisplayMode mode) {
  ConversionResult result;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char16_t c = source[i];
    if (!HasTwoByteGbkCode(c)) {
      continue;
    }
    const auto reading = LookupReading(dictionaryText, c);
    if (!reading) {
      continue;
    }
    std::u16string chosen = ResolvePolyphone(c, source, static_cast<std::int32_t>(i + 1));
    if (chosen.empty()) {
      chosen = *reading;
    }
    result.hints += MakeTypingHint(chosen) + u" ";
    const std::u16string marked = AddToneMark(chosen);
    if (mode == DisplayMode::kCharacterWithReading) {
      result.pinyin += std::u16string(1, c) + u"(" + marked + u")";
    }
    if (mode == DisplayMode::kReadingOnly) {
      result.pinyin += marked + u" ";
    }
  }
  return result;
}

}  // namespace kelvaro
