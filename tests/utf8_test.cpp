#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "dictionary/text_codec.h"

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

struct DecodeRow {
  const char* name;
  std::string bytes;
  std::u16string text;         // when valid
  std::ptrdiff_t errorOffset;  // -1 when valid
};

const DecodeRow kDecodeRows[] = {
    {"empty", "", u"", -1},
    {"ASCII", "abc", u"abc", -1},
    {"every length", "a\xC3\xBC\xE4\xB8\xAD\xF0\x90\x80\x80", u"a\u00FC\u4E2D\U00010000", -1},
    {"second byte invalid", "a\xFF\xE4\xB8\xAD", u"", 1},
    {"stray continuation", "\x80", u"", 0},
    {"truncated at the end", "\xE4\xB8\xAD\xE4\xB8", u"", 3},
    {"lead without continuation", "\xE4\x41\x42", u"", 0},
    {"overlong", "ab\xE0\x80\xAF", u"", 2},
    {"encoded surrogate", "\xED\xA0\x80", u"", 0},
    {"above U+10FFFF", "\xF4\x90\x80\x80", u"", 0},
    {"four bytes cut after three", "\xF0\x90\x80", u"", 0},
};

// Decodes bytes fed in the given pieces.
std::variant<std::u16string, Utf8Error> DecodeInPieces(
    const std::vector<std::string_view>& pieces) {
  Utf8Decoder decoder;
  std::u16string text;
  for (const std::string_view piece : pieces) {
    if (!decoder.Feed(piece, text)) return decoder.error();
  }
  if (!decoder.Finish()) return decoder.error();
  return text;
}

void ExpectDecoded(const DecodeRow& row, const std::variant<std::u16string, Utf8Error>& decoded,
                   const std::string& how) {
  if (row.errorOffset < 0) {
    ASSERT_TRUE(std::holds_alternative<std::u16string>(decoded)) << row.name << how;
    EXPECT_EQ(std::get<std::u16string>(decoded), row.text) << row.name << how;
  } else {
    ASSERT_TRUE(std::holds_alternative<Utf8Error>(decoded)) << row.name << how;
    EXPECT_EQ(std::get<Utf8Error>(decoded).byteOffset, static_cast<std::size_t>(row.errorOffset))
        << row.name << how;
  }
}

TEST(Utf8, DecodesTheSameWhereverThePiecesAreCut) {
  for (const DecodeRow& row : kDecodeRows) {
    const std::string_view bytes = row.bytes;
    ExpectDecoded(row, DecodeUtf8(bytes), " whole");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
      ExpectDecoded(row, DecodeInPieces({bytes.substr(0, cut), bytes.substr(cut)}),
                    " cut at " + std::to_string(cut));
    }
    std::vector<std::string_view> single;
    for (std::size_t i = 0; i < bytes.size(); ++i) single.push_back(bytes.substr(i, 1));
    ExpectDecoded(row, DecodeInPieces(single), " byte by byte");
  }
}

TEST(Utf8, StopsAtTheFirstInvalidByteAndStaysStopped) {
  Utf8Decoder decoder;
  std::u16string text;
  EXPECT_FALSE(decoder.Feed("a\xFF", text));
  EXPECT_FALSE(decoder.Feed("bcd", text));
  EXPECT_FALSE(decoder.Finish());
  EXPECT_EQ(decoder.error().byteOffset, 1u);
  EXPECT_EQ(text, u"a");
}

}  // namespace
}  // namespace kelvaro
