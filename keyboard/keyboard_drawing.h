#pragma once

#include <string_view>
#include <vector>

namespace kelvaro {

// The finger that strikes a key, in touch typing.
enum class Finger {
  kLeftLittle,
  kLeftRing,
  kLeftMiddle,
  kLeftIndex,
  kThumb,
  kRightIndex,
  kRightMiddle,
  kRightRing,
  kRightLittle,
};

// One key of the keyboard picture, in pixels from the picture's top-left
// corner. Letter keys carry the index of their marker.
struct KeyFace {
  double x, y, width, height;
  std::u16string_view label;
  Finger finger;
  int markerIndex;  // -1 for keys without a marker
};

// The sizes of the keyboard picture and of a key marker's picture.
inline constexpr int kKeyboardPictureWidth = 650;
inline constexpr int kKeyboardPictureHeight = 219;
inline constexpr int kMarkerWidthPixels = 13;
inline constexpr int kMarkerHeightPixels = 8;

// Every key of the picture: number row, Tab row, Caps Lock row, Shift row and
// the row with Ctrl, Alt and the space bar. The letter keys are placed around
// their markers, so that each marker sits near the lower edge of its key.
std::vector<KeyFace> KeyboardFaces();

}  // namespace kelvaro
