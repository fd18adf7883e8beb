#include "app/form_layout.h"

#include "app/form1_design.h"
#include "keyboard/keyboard_drawing.h"
#include "keyboard/twips_unit.h"

namespace kelvaro {
namespace {

void SetIfValid(double& size, double value) {
  if (value >= 0) {
    size = value;
  }
}

}  // namespace

Form1Sizes DesignSizes() {
  const Form1Design& d = kForm1Design;
  Form1Sizes s{};
  s.text1Width = d.text1.width;
  s.text2Width = d.text2.width;
  s.text5Width = d.text5.width;
  s.text4Width = d.text4.width;
  s.text4Height = d.text4.height;
  s.list1Height = d.list1.height;
  s.list1Width = d.list1.width;
  s.text4Top = d.text4.top;
  s.text1Height = d.text1.height;
  s.text2Height = d.text2.height;
  s.text5Height = d.text5.height;
  s.label1Height = d.label1.height;
  s.label2Height = d.label2.height;
  s.label4Height = d.label4.height;
  s.label5Height = d.label5.height;
  s.image3Height = kKeyboardPictureHeight * kTwipsPerPixel;
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
