#pragma once

namespace kelvaro {

// A control's place and size in a window, in twips.
struct TwipsRect {
  int left, top, width, height;
};

// A picture's top-left corner in a window, in twips; its size is that of its
// file.
struct TwipsPoint {
  int left, top;
};

}  // namespace kelvaro
