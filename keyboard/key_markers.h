#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <string_view>

namespace kelvaro {

// The letter keys row by row as they stand on the keyboard; a letter's index
// in this string is the index of its marker.
inline constexpr std::u16string_view kKeyOrder = u"qwertyuiopasdfghjklzxcvbnm";
// How many letter keys, and so key markers, there are.
inline constexpr std::size_t kLetterKeyCount = kKeyOrder.size();

// One key marker: a small triangle over its key on the keyboard picture, at
// an offset in twips from the picture's top-left corner. Keys of the left
// hand have the red marker picture, keys of the right hand the blue one.
// The table follows kKeyOrder.
struct KeyMarker {
  int offsetX, offsetY;
  bool leftHand;
};

inline constexpr std::array<KeyMarker, kLetterKeyCount> kKeyMarkers{{
    // The Q row: q to p
    {1137, 1080, true},
    {1826, 1080, true},
    {2437, 1080, true},
    {3120, 1080, true},
    {3737, 1080, true},
    {4440, 1080, false},
    {5040, 1080, false},
    {5660, 1080, false},
    {6360, 1080, false},
    {6960, 1080, false},
    // The A row: a to l
    {1560, 1680, true},
    {2160, 1680, true},
    {2760, 1680, true},
    {3480, 1680, true},
    {4080, 1680, true},
    {4800, 1680, false},
    {5400, 1680, false},
    {6000, 1680, false},
    {6720, 1680, false},
    // The Z row: z to m
    {1800, 2320, true},
    {2520, 2320, true},
    {3120, 2320, true},
    {3840, 2320, true},
    {4440, 2320, true},
    {5040, 2320, false},
    {5760, 2320, false},
}};

// The markers to light for a hint text: every letter that occurs in it,
// whatever its case. Other characters light nothing.
std::bitset<kLetterKeyCount> MarkersToLight(std::u16string_view hintText);

}  // namespace kelvaro
