// The direct index must answer exactly as the plain search of the dictionary
// text, for every character of the table and every other BMP code unit.
#include <gtest/gtest.h>

#include <algorithm>

#include "dictionary/pinyin_dictionary.h"
#include "tests/reference/lookup_reading.h"

namespace kelvaro {
namespace {

TEST(LookupEquivalence, DirectIndexEqualsLinearSearchForEveryCodeUnit) {
  const auto dictionary = PinyinDictionary::LoadBuiltIn();
  std::size_t found = 0;
  for (char32_t c = 0; c < 0x10000; ++c) {
    const auto character = static_cast<char16_t>(c);
    const auto fromIndex = IndexedReading(dictionary, character);
    // Characters without a two-byte GBK code are never searched: a miss.
    const auto fromSearch =
        HasTwoByteGbkCode(character) ? LookupReading(BuiltInTableText(), character) : std::nullopt;
    ASSERT_EQ(fromIndex, fromSearch) << "code unit " << static_cast<int>(c);
    found += fromIndex.has_value();
  }
  // One character a line, none repeated: the index holds every line.
  EXPECT_EQ(found, static_cast<std::size_t>(std::ranges::count(BuiltInTableText(), u'\n')));
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

TEST(HasTwoByteGbkCode, SortsCharactersByTheirCode) {
  for (const char16_t c : std::u16string_view(u"中肀，ü禬ā")) {
    EXPECT_TRUE(HasTwoByteGbkCode(c)) << static_cast<int>(c);
  }
  EXPECT_FALSE(HasTwoByteGbkCode(u'€'));  // one byte in code page 936
  for (const char16_t c : std::u16string_view(u"a \r\n\t1\xD800\xDC00\uFFFD")) {
    EXPECT_FALSE(HasTwoByteGbkCode(c)) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace kelvaro
