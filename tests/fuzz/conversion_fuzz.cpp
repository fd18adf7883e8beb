// Arbitrary UTF-16 through the converter, checked against the step-by-step
// conversion and the invariants of its two texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "check.h"
#include "convert/conversion.h"
#include "tests/reference/lookup_reading.h"
#include "tests/reference/step_by_step_conversion.h"

namespace {

using namespace kelvaro;

const PinyinDictionary& Dictionary() {
  static const PinyinDictionary dictionary = PinyinDictionary::LoadBuiltIn();
  return dictionary;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const PinyinConverter converter(Dictionary());
  if (size < 1) return 0;
  const auto mode = static_cast<DisplayMode>(data[0] % 3);
  std::u16string source((size - 1) / 2, u'\0');
  std::memcpy(source.data(), data + 1, source.size() * 2);

  const ConversionResult fast = converter.Convert(source, mode);
  Check(fast == ConvertStepByStep(BuiltInTableText(), source, mode));

  std::size_t converted = 0;
  for (const char16_t c : source) converted += IndexedReading(Dictionary(), c).has_value();
  std::size_t spaces = 0;
  for (const char16_t c : fast.hints) {
    Check(c == u' ' || (c >= u'A' && c <= u'Z'));
    spaces += c == u' ';
  }
  Check(spaces == converted);
  Check(fast.hints.empty() || fast.hints.back() == u' ');
  Check(fast.pinyin.find_first_of(u"\r\n") == std::u16string::npos);

  // The direct index against the plain search, for the first code units.
  for (std::size_t i = 0; i < source.size() && i < 8; ++i) {
    const char16_t c = source[i];
    const auto expected =
        HasTwoByteGbkCode(c) ? LookupReading(BuiltInTableText(), c) : std::nullopt;
    Check(IndexedReading(Dictionary(), c) == expected);
  }
  return 0;
}
