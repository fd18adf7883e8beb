#include <gtest/gtest.h>

#include "dictionary/text_codec.h"

namespace kelvaro {
namespace {

struct DecodeRow {
  std::string_view bytes;
  std::u16string_view text;
};

constexpr DecodeRow kDecodeRows[] = {
    {"", u""},
    {"abc\r\n", u"abc\r\n"},
    {"\xD6\xD0\xB9\xFA", u"中国"},
    {"\xA8\xB9", u"ü"},
    {"\xA8\xA1\xA8\xA2", u"āá"},
    {"\x80", u"€"},                           // code page 936's one extra single byte
    {"\xFF", u"\uFFFD"},                      // not a lead byte
    {"\xD6", u"\uFFFD"},                      // truncated at the end
    {"\xD6\xD0\xFF\xD6\xD0", u"中\uFFFD中"},  // decoding goes on after a bad byte
    {"\xEF\xBB\xBF"
     "a",
     u"\u9518\u7E1C"},  // a UTF-8 BOM is not skipped: it reads as 锘縜
};

TEST(DecodeGbk, DecodesAndReplacesBadBytes) {
  for (const DecodeRow& row : kDecodeRows) {
    EXPECT_EQ(DecodeGbk(row.bytes), row.text) << testing::PrintToString(row.bytes);
  }
}

TEST(EncodeGbk, RefusesWhatGbkCannotEncode) {
  EXPECT_EQ(EncodeGbk(u"中国"), std::string("\xD6\xD0\xB9\xFA"));
  EXPECT_EQ(EncodeGbk(u"\xD800"), std::nullopt);
  EXPECT_EQ(EncodeGbk(u"\U00020000"), std::nullopt);
}

}  // namespace
}  // namespace kelvaro
