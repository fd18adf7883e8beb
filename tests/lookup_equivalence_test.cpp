// The direct index must answer exactly as the plain search of the dictionary
// text, for every character of the table and every other BMP code unit.
#include <gtest/gtest.h>

#include "dictionary/gbk_codec.h"
#include "dictionary/lookup_reading.h"
#include "dictionary/pinyin_dictionary.h"

namespace kelvaro {
namespace {

TEST(LookupEquivalence, DirectIndexEqualsLinearSearchForEveryCodeUnit) {
  const auto dictionary = PinyinDictionary::LoadBuiltIn();
  std::size_t found = 0;
  for (char32_t c = 0; c < 0x10000; ++c) {
    const auto character = static_cast<char16_t>(c);
    const auto fromIndex = dictionary.LookupReading(character);
    // Characters without a two-byte GBK code are never searched: a miss.
    const auto fromSearch =
        HasTwoByteGbkCode(character) ? LookupReading(dictionary.Text(), character) : std::nullopt;
    ASSERT_EQ(fromIndex, fromSearch) << "code unit " << static_cast<int>(c);
    found += fromIndex.has_value();
  }
  EXPECT_EQ(found, dictionary.CharacterCount());
}

TEST(LookupReading, FindsOnlyFirstFields) {
  const std::u16string_view text = u"女 nü3\r\n不 bu4\r\n不 bu4\r\n";
  EXPECT_EQ(LookupReading(text, u'女'), u"nü3");
  EXPECT_EQ(LookupReading(text, u'不'), u"bu4");
  EXPECT_EQ(LookupReading(text, u'ü'), std::nullopt);  // inside a reading only
  EXPECT_EQ(LookupReading(text, u'人'), std::nullopt);
  EXPECT_EQ(LookupReading(u"", u'人'), std::nullopt);
  EXPECT_EQ(LookupReading(u"人", u'人'), std::nullopt);  // truncated line
}

}  // namespace
}  // namespace kelvaro
