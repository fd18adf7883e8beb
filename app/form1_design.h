#pragma once

#include "app/design_place.h"

namespace kelvaro {

// The main window as designed, in twips: the client size of the restored
// window and where each control stands in it. The controls are created at
// these places; the resize handler starts from these sizes (DesignSizes); the
// key markers lie at their offsets from Image3, the keyboard picture.
struct Form1Design {
  int clientWidth, clientHeight;
  TwipsPoint image1;
  TwipsRect label6, command5, label1, list1, text1, label2, text2, label5, label3, text5;
  TwipsPoint image3;
  TwipsRect label4, text4;
  // Controls that only carry code or data, never shown.
  TwipsRect command1, option3, option1;
};

inline constexpr Form1Design kForm1Design{
    .clientWidth = 12885,
    .clientHeight = 10875,
    .image1 = {10200, 0},
    .label6 = {120, 240, 1455, 375},
    .command5 = {8760, 360, 975, 375},
    .label1 = {2040, 480, 3255, 375},
    .list1 = {120, 720, 1815, 8460},
    .text1 = {2040, 750, 8655, 855},
    .label2 = {2040, 1680, 1935, 255},
    .text2 = {2040, 1920, 8655, 1095},
    .label5 = {2040, 3120, 1935, 255},
    .label3 = {4080, 3120, 9975, 255},
    .text5 = {2040, 3360, 8655, 1095},
    .image3 = {2040, 4560},
    .label4 = {2040, 7920, 3255, 255},
    .text4 = {2040, 8160, 8655, 1095},
    .command1 = {1800, 0, 855, 255},
    .option3 = {5280, 0, 855, 375},
    .option1 = {5280, 360, 975, 375},
};

}  // namespace kelvaro
