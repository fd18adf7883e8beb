#pragma once

#include "app/design_place.h"

namespace kelvaro {

// The help window as designed, in twips: its fixed client size and where each
// control stands in it.
struct Form2Design {
  int clientWidth, clientHeight;
  TwipsRect lblTitle, lblVersion, label2, label3, lblDescription;
  TwipsPoint image1;
};

inline constexpr Form2Design kForm2Design{
    .clientWidth = 7695,
    .clientHeight = 7560,
    .lblTitle = {120, 240, 7365, 480},
    .lblVersion = {480, 840, 1725, 225},
    .label2 = {2280, 840, 4815, 255},
    .label3 = {480, 1080, 3975, 255},
    .lblDescription = {120, 1440, 7485, 960},
    .image1 = {120, 2400},
};

}  // namespace kelvaro
