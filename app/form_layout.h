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

// Widens the four text boxes, stretches the practice box to 95 % of the
// window height and gives the word list the height of the right-hand column,
// from the window's outer size in twips. Each of the six steps stands alone:
// a step whose value would be negative leaves its control as it was and the
// next step still runs.
void LayOutForm1(double windowWidth, double windowHeight, Form1Sizes& sizes);

}  // namespace kelvaro
