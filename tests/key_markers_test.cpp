#include "keyboard/key_markers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace kelvaro {
namespace {

std::vector<int> Lit(std::u16string_view hints) {
  const auto lit = MarkersToLight(hints);
  std::vector<int> indices;
  for (int i = 0; i < static_cast<int>(kLetterKeyCount); ++i) {
    if (lit.test(static_cast<std::size_t>(i))) {
      indices.push_back(i);
    }
  }
  return indices;
}

struct Row {
  std::u16string_view hints;
  std::vector<int> lit;
};

const Row kRows[] = {
    {u"ZHONG GUO ", {6, 8, 14, 15, 19, 24}},
    {u"NV ", {22, 24}},
    {u"SHEI ", {2, 7, 11, 15}},
    {u"MA MA ", {10, 25}},
    {u"", {}},
    {u"zhong", {8, 14, 15, 19, 24}},  // case does not matter
    {u"ü 1 中\r\n", {}},
    {u"QWERTYUIOPASDFGHJKLZXCVBNM", {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                     13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}},
};

TEST(MarkersToLight, LightsEveryLetterOfTheHints) {
  for (const Row& row : kRows) {
    SCOPED_TRACE("hints \"" + Utf8(row.hints) + "\"");
    EXPECT_EQ(Lit(row.hints), row.lit);
  }
}

TEST(KeyMarkers, FollowTheHands) {
  for (std::size_t i = 0; i < kKeyMarkers.size(); ++i) {
    const KeyMarker& marker = kKeyMarkers[i];
    SCOPED_TRACE("marker " + std::to_string(i));
    // Left-hand keys are the first five of each row.
    const bool leftHand = i <= 4 || (i >= 10 && i <= 14) || (i >= 19 && i <= 23);
    EXPECT_EQ(marker.leftHand, leftHand) << i;
  }
}

}  // namespace
}  // namespace kelvaro
