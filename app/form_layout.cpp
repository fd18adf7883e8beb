#include "app/form_layout.h"

namespace kelvaro {
namespace {

void SetIfValid(double& size, double value) {
  if (value >= 0) {
    size = value;
  }
}

}  // namespace

Form1Sizes DesignSizes() {
  Form1Sizes s{};
  s.text1Width = s.text2Width = s.text5Width = s.text4Width = 8655;
  s.text4Height = 1095;
  s.list1Height = 8460;
  s.list1Width = 1815;
  s.text4Top = 8160;
  s.text1Height = 855;
  s.text2Height = s.text5Height = 1095;
  s.label1Height = 375;
  s.label2Height = s.label4Height = s.label5Height = 255;
  s.image3Height = 3285;
  return s;
}

void LayOutForm1(double windowWidth, double windowHeight, Form1Sizes& s) {
  SetIfValid(s.text1Width, (windowWidth - s.list1Width) * 0.96);
  s.text2Width = s.text1Width;
  s.text5Width = s.text1Width;
  s.text4Width = s.text1Width;
  SetIfValid(s.text4Height, windowHeight * 0.95 - s.text4Top);
  s.list1Height = s.text1Height + s.text2Height + s.text4Height + s.text5Height + s.label1Height +
                  s.label2Height + s.label4Height + s.label5Height + s.image3Height;
}

}  // namespace kelvaro
