#include "convert/polyphone_rules.h"

#include <cstddef>
#include <stdexcept>
#include <variant>

#include "convert/base_rules.h"
#include "convert/reading_rules.h"
#include "dictionary/text_codec.h"

extern const unsigned char kWordReadingsUtf8[];
extern const std::size_t kWordReadingsUtf8Size;
extern const unsigned char kReadingRulesUtf8[];
extern const std::size_t kReadingRulesUtf8Size;

namespace kelvaro {
namespace {

std::u16string DecodeBuiltIn(const unsigned char* bytes, std::size_t size) {
  auto text = DecodeUtf8({reinterpret_cast<const char*>(bytes), size});
  if (auto* decoded = std::get_if<std::u16string>(&text)) return std::move(*decoded);
  throw std::invalid_argument("built-in reading rules are not valid UTF-8");
}

const ReadingRules& Rules() {
  static const ReadingRules rules = [] {
    ReadingRules built;
    AddBaseRules(built);
    AddWordReadings(built, DecodeBuiltIn(kWordReadingsUtf8, kWordReadingsUtf8Size));
    AddRuleText(built, DecodeBuiltIn(kReadingRulesUtf8, kReadingRulesUtf8Size));
    return built;
  }();
  return rules;
}

}  // namespace

int ResolvePolyphoneIndex(char16_t character, std::u16string_view text, std::int32_t position) {
  return Rules().Resolve(character, text, position);
}

std::span<const std::u16string> PolyphoneReadings() { return Rules().Readings(); }

bool IsPolyphoneRuleCharacter(char16_t character) { return Rules().Names(character); }

PolyphoneReach PolyphoneRulesReach() {
  return {Rules().Reach(), static_cast<std::size_t>(Rules().LargestMinPosition())};
}

}  // namespace kelvaro
