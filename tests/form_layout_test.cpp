#include "app/form_layout.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(LayOutForm1, StretchesTheTextColumnAndTheWordList) {
  Form1Sizes sizes = DesignSizes();
  LayOutForm1(15360, 11520, sizes);
  EXPECT_DOUBLE_EQ(sizes.text1Width, (15360 - 1815) * 0.96);
  EXPECT_NEAR(sizes.text1Width, 13003.2, 1e-9);
  EXPECT_DOUBLE_EQ(sizes.text2Width, sizes.text1Width);
  EXPECT_DOUBLE_EQ(sizes.text5Width, sizes.text1Width);
  EXPECT_DOUBLE_EQ(sizes.text4Width, sizes.text1Width);
  EXPECT_NEAR(sizes.text4Height, 2784, 1e-9);
  EXPECT_NEAR(sizes.list1Height, 10254, 1e-9);
}

struct StepRow {
  const char* name;
  double width, height;
  double text1Width, text4Height, list1Height;
};

// Starting from the layout of a 15360 x 11520 window.
const StepRow kStepRows[] = {
    {"too low: Text4 keeps its height, the list still follows it", 15360, 8000, 13003.2, 2784,
     10254},
    {"too narrow: the widths stay", 1800, 11520, 13003.2, 2784, 10254},
    {"both", 100, 100, 13003.2, 2784, 10254},
    {"minimised", 0, 0, 13003.2, 2784, 10254},
    {"just wide enough", 1815, 8589.5, 0, 8589.5 * 0.95 - 8160,
     855 + 1095 + (8589.5 * 0.95 - 8160) + 1095 + 1140 + 3285},
    {"the design size", 12885 + 120, 10875 + 570, (12885 + 120 - 1815) * 0.96,
     (10875 + 570) * 0.95 - 8160, 855 + 1095 + ((10875 + 570) * 0.95 - 8160) + 1095 + 1140 + 3285},
};

TEST(LayOutForm1, EachStepStandsAlone) {
  for (const StepRow& row : kStepRows) {
    Form1Sizes sizes = DesignSizes();
    LayOutForm1(15360, 11520, sizes);
    LayOutForm1(row.width, row.height, sizes);
    EXPECT_NEAR(sizes.text1Width, row.text1Width, 1e-6) << row.name;
    EXPECT_NEAR(sizes.text4Width, row.text1Width, 1e-6) << row.name;
    EXPECT_NEAR(sizes.text4Height, row.text4Height, 1e-6) << row.name;
    EXPECT_NEAR(sizes.list1Height, row.list1Height, 1e-6) << row.name;
  }
}

TEST(LayOutForm1, RestoringGivesTheLayoutBack) {
  Form1Sizes before = DesignSizes();
  LayOutForm1(15360, 11520, before);
  Form1Sizes after = before;
  LayOutForm1(0, 0, after);
  LayOutForm1(15360, 11520, after);
  EXPECT_EQ(after.text1Width, before.text1Width);
  EXPECT_EQ(after.text4Height, before.text4Height);
  EXPECT_EQ(after.list1Height, before.list1Height);
}

}  // namespace
}  // namespace kelvaro
