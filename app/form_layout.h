#pragma once

namespace kelvaro {

// The sizes, in twips, that the main window's resize handler reads and sets.
struct Form1Sizes {
  double text1Width, text2Width, text5Width, text4Width;
  double text4Height, list1Height;
  // Read only:
  double list1Width, text4Top;
  double text1Height, text2Height, text5Height;
  double label1Height, label2Height, label4Height, label5Height, image3Height;
};

// The sizes of the window's design (kForm1Design).
Form1Sizes DesignSizes();

// From the window's outer size in twips: the four text boxes take 96 % of the
// width beside the word list, the practice box reaches down to 95 % of the
// height, and the word list is as high as the controls of the right-hand
// column together. Each of the six steps stands alone: a step whose value
// would be negative leaves its control as it was and the next step still runs.
void LayOutForm1(double windowWidth, double windowHeight, Form1Sizes& sizes);

}  // namespace kelvaro
