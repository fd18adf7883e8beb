#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>

namespace kelvaro {

// The 26 letter keys row by row as they stand on the keyboard; a letter's
// index in this string is the index of its marker.
inline constexpr std::u16string_view kKeyOrder = u"qwertyuiopasdfghjklzxcvbnm";

struct Rgb {
  std::uint8_t red, green, blue;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kLeftHandColour{255, 0, 0};
inline constexpr Rgb kRightHandColour{0, 24, 255};

// One key marker: a small triangle over its key on the keyboard picture.
// Positions are in twips; the offset is from the picture's top-left corner.
struct KeyMarker {
  char16_t key;
  int left, top;
  int offsetX, offsetY;
  bool leftHand;
};

inline constexpr int kMarkerWidthTwips = 195;
inline constexpr int kMarkerHeightTwips = 120;

// The keyboard picture's place in the main window, in twips.
inline constexpr int kKeyboardLeftTwips = 2040;
inline constexpr int kKeyboardTopTwips = 4560;

inline constexpr std::array<KeyMarker, 26> kKeyMarkers{{
    {u'Q', 3177, 5640, 1137, 1080, true},  {u'W', 3866, 5640, 1826, 1080, true},
    {u'E', 4477, 5640, 2437, 1080, true},  {u'R', 5160, 5640, 3120, 1080, true},
    {u'T', 5777, 5640, 3737, 1080, true},  {u'Y', 6480, 5640, 4440, 1080, false},
    {u'U', 7080, 5640, 5040, 1080, false}, {u'I', 7700, 5640, 5660, 1080, false},
    {u'O', 8400, 5640, 6360, 1080, false}, {u'P', 9000, 5640, 6960, 1080, false},
    {u'A', 3600, 6240, 1560, 1680, true},  {u'S', 4200, 6240, 2160, 1680, true},
    {u'D', 4800, 6240, 2760, 1680, true},  {u'F', 5520, 6240, 3480, 1680, true},
    {u'G', 6120, 6240, 4080, 1680, true},  {u'H', 6840, 6240, 4800, 1680, false},
    {u'J', 7440, 6240, 5400, 1680, false}, {u'K', 8040, 6240, 6000, 1680, false},
    {u'L', 8760, 6240, 6720, 1680, false}, {u'Z', 3840, 6880, 1800, 2320, true},
    {u'X', 4560, 6880, 2520, 2320, true},  {u'C', 5160, 6880, 3120, 2320, true},
    {u'V', 5880, 6880, 3840, 2320, true},  {u'B', 6480, 6880, 4440, 2320, true},
    {u'N', 7080, 6880, 5040, 2320, false}, {u'M', 7800, 6880, 5760, 2320, false},
}};

// The markers to light for a hint text: every letter that occurs in it,
// whatever its case. Other characters light nothing.
std::bitset<26> MarkersToLight(std::u16string_view hintText);

}  // namespace kelvaro
