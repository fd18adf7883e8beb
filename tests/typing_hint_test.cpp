#include "convert/typing_hint.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

struct Row {
  std::u16string_view reading;
  std::u16string_view hint;
};

constexpr Row kRows[] = {
    {u"zhong1", u"ZHONG"},
    {u"nü3", u"NV"},
    {u"lüe4", u"LVE"},
    {u"le5", u"LE"},
    {u"shei2", u"SHEI"},
    {u"a1", u"A"},
    {u"huo", u"HUO"},
    {u"", u""},
    // Every tone digit goes, wherever it stands; other characters stay.
    {u"1a2b3c4d5", u"ABCD"},
    {u"x6", u"X6"},
};

class MakeTypingHintTest : public testing::TestWithParam<Row> {};

TEST_P(MakeTypingHintTest, GivesTheKeys) {
  EXPECT_EQ(MakeTypingHint(GetParam().reading), GetParam().hint);
}

INSTANTIATE_TEST_SUITE_P(Readings, MakeTypingHintTest, testing::ValuesIn(kRows));

}  // namespace
}  // namespace kelvaro
