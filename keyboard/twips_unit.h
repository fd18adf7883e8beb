#pragma once

namespace kelvaro {

// The windows' design and the key-marker table are in twips, 1440 to the
// inch. The design's pixels are those of a 96 dpi screen: 15 twips each.
inline constexpr double kTwipsPerInch = 1440;
inline constexpr double kDesignDpi = 96;
inline constexpr double kTwipsPerPixel = kTwipsPerInch / kDesignDpi;

}  // namespace kelvaro
