#include "app/form_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvaro {
namespace {

// A window's outer size in twips; 15360 x 11520 is 1024 x 768 pixels.
struct Window {
  double width, height;
};

// The expected values are worked out by hand from the design sizes: the text
// boxes are 8655 wide and the word list 1815, Text4 is 1095 high at 8160 from
// the top, and the right-hand column holds 7470 besides Text4 (Text1 855,
// Text2 and Text5 1095 each, the captions 375 + 3 x 255, the keyboard
// picture 3285). So a valid width W gives the four boxes (W - 1815) x 0.96,
// a valid height H gives Text4 H x 0.95 - 8160, and the list is always
// 7470 + Text4's height.
struct Sizes {
  double boxWidth, text4Height, list1Height;
};

struct LayoutRow {
  const char* name;
  std::vector<Window> resizes;  // in order, from the design sizes
  Sizes expected;
};

const LayoutRow kLayoutRows[] = {
    {"a 1024 x 768 window", {{15360, 11520}}, {13003.2, 2784, 10254}},
    {"the design size with its frame",
     {{15360, 11520}, {13005, 11445}},
     {10742.4, 2712.75, 10182.75}},
    {"too low: Text4 keeps its height, the list still follows it",
     {{15360, 11520}, {15360, 8000}},
     {13003.2, 2784, 10254}},
    {"too narrow: the widths stay", {{15360, 11520}, {1800, 11520}}, {13003.2, 2784, 10254}},
    {"too narrow and too low", {{15360, 11520}, {100, 100}}, {13003.2, 2784, 10254}},
    {"minimised", {{15360, 11520}, {0, 0}}, {13003.2, 2784, 10254}},
    {"restored after being minimised",
     {{15360, 11520}, {0, 0}, {15360, 11520}},
     {13003.2, 2784, 10254}},
    {"just wide enough", {{15360, 11520}, {1815, 8589.5}}, {0, 0.025, 7470.025}},
    {"minimised at once: the design sizes stay, the list follows Text4",
     {{0, 0}},
     {8655, 1095, 8565}},
};

TEST(LayOutForm1, SizesTheControlsForTheWindow) {
  for (const LayoutRow& row : kLayoutRows) {
    SCOPED_TRACE(row.name);
    Form1Sizes sizes = DesignSizes();
    for (const Window& window : row.resizes) {
      LayOutForm1(window.width, window.height, sizes);
    }
    EXPECT_NEAR(sizes.text1Width, row.expected.boxWidth, 1e-6);
    EXPECT_NEAR(sizes.text2Width, row.expected.boxWidth, 1e-6);
    EXPECT_NEAR(sizes.text5Width, row.expected.boxWidth, 1e-6);
    EXPECT_NEAR(sizes.text4Width, row.expected.boxWidth, 1e-6);
    EXPECT_NEAR(sizes.text4Height, row.expected.text4Height, 1e-6);
    EXPECT_NEAR(sizes.list1Height, row.expected.list1Height, 1e-6);
  }
}

}  // namespace
}  // namespace kelvaro
