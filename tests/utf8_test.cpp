#include "cli/utf8.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(Utf8, RoundTripsEveryScalarValueRange) {
  const std::u16string text = u"a\u00FC\u4E2D\uFFFD\U00010000\U0010FFFF";
  const std::string bytes = EncodeUtf8(text);
  EXPECT_EQ(bytes, "a\xC3\xBC\xE4\xB8\xAD\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
  const auto decoded = DecodeUtf8(bytes);
  ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded));
  EXPECT_EQ(std::get<std::u16string>(decoded), text);
}

TEST(Utf8, LoneSurrogatesEncodeAsReplacement) {
  EXPECT_EQ(EncodeUtf8(u"\xD800"
                       "a\xDC00"),
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kelvaro
