#pragma once

#include <array>
#include <bitset>
#include <string_view>

namespace kelvaro {

// The 26 letter keys row by row as they stand on the keyboard; a letter's
// index in this string is the index of its marker.
inline constexpr std::u16string_view kKeyOrder = u"qwertyuiopasdfghjklzxcvbnm";

// One key marker: a small triangle over its key on the keyboard picture, at
// an offset in twips from the picture's top-left corner. Keys of the left
// hand have the red marker picture, keys of the right hand the blue one.
struct KeyMarker {
  char16_t key;
  int offsetX, offsetY;
  bool leftHand;
};

inline constexpr std::array<KeyMarker, 26> kKeyMarkers{{
    // The Q row
    {u'Q', 1137, 1080, true},
    {u'W', 1826, 1080, true},
    {u'E', 2437, 1080, true},
    {u'R', 3120, 1080, true},
    {u'T', 3737, 1080, true},
    {u'Y', 4440, 1080, false},
    {u'U', 5040, 1080, false},
    {u'I', 5660, 1080, false},
    {u'O', 6360, 1080, false},
    {u'P', 6960, 1080, false},
    // The A row
    {u'A', 1560, 1680, true},
    {u'S', 2160, 1680, true},
    {u'D', 2760, 1680, true},
    {u'F', 3480, 1680, true},
    {u'G', 4080, 1680, true},
    {u'H', 4800, 1680, false},
    {u'J', 5400, 1680, false},
    {u'K', 6000, 1680, false},
    {u'L', 6720, 1680, false},
    // The Z row
    {u'Z', 1800, 2320, true},
    {u'X', 2520, 2320, true},
    {u'C', 3120, 2320, true},
    {u'V', 3840, 2320, true},
    {u'B', 4440, 2320, true},
    {u'N', 5040, 2320, false},
    {u'M', 5760, 2320, false},
}};

// The markers to light for a hint text: every letter that occurs in it,
// whatever its case. Other characters light nothing.
std::bitset<26> MarkersToLight(std::u16string_view hintText);

}  // namespace kelvaro
