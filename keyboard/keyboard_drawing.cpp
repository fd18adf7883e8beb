#include "keyboard/keyboard_drawing.h"

#include <array>
#include <initializer_list>

#include "keyboard/key_markers.h"
#include "keyboard/twips_unit.h"

namespace kelvaro {
namespace {

constexpr double kGap = 3;     // between neighbouring keys
constexpr double kRowGap = 4;  // above the Tab row and below the Shift row
constexpr double kKeyHeight = 36;
constexpr double kMarkerToBottom = 3;  // from a marker's lower edge to its key's
constexpr double kLeftEdge = 4;
constexpr double kRightEdge = kKeyboardPictureWidth - kLeftEdge;

using enum Finger;

constexpr std::array<Finger, kLetterKeyCount> kLetterFingers{
    // Q W E R T Y U I O P
    kLeftLittle, kLeftRing, kLeftMiddle, kLeftIndex, kLeftIndex, kRightIndex, kRightIndex,
    kRightMiddle, kRightRing, kRightLittle,
    // A S D F G H J K L
    kLeftLittle, kLeftRing, kLeftMiddle, kLeftIndex, kLeftIndex, kRightIndex, kRightIndex,
    kRightMiddle, kRightRing,
    // Z X C V B N M
    kLeftLittle, kLeftRing, kLeftMiddle, kLeftIndex, kLeftIndex, kRightIndex, kRightIndex};

struct SideKey {
  std::u16string_view label;
  double width;  // 0: takes the room that is left
  Finger finger;
};

double MarkerCentreX(int index) {
  return kKeyMarkers[index].offsetX / kTwipsPerPixel + kMarkerWidthPixels / 2.0;
}

// The top of the row of letter keys that begins with marker first: the
// markers of a row stand kMarkerToBottom above their keys' lower edge.
double LetterRowTop(int first) {
  return kKeyMarkers[first].offsetY / kTwipsPerPixel + kMarkerHeightPixels + kMarkerToBottom -
         kKeyHeight;
}

// Lays keys left to right from x to end; a key of width 0 fills the rest.
void AddRow(std::vector<KeyFace>& faces, double x, double end, double top,
            std::initializer_list<SideKey> keys) {
  double fixed = 0;
  for (const SideKey& key : keys) {
    fixed += key.width + kGap;
  }
  const double fill = end - x - fixed + kGap;
  for (const SideKey& key : keys) {
    const double width = key.width > 0 ? key.width : fill;
    faces.push_back({x, top, width, kKeyHeight, key.label, key.finger, -1});
    x += width + kGap;
  }
}

// The letter keys of one row (marker indices first..last), each reaching
// halfway to its neighbours, and the keys beside them: those on the left
// reach from the picture's left edge, those on the right to its right edge.
void AddLetterRow(std::vector<KeyFace>& faces, int first, int last,
                  std::initializer_list<SideKey> leftKeys,
                  std::initializer_list<SideKey> rightKeys) {
  const double top = LetterRowTop(first);
  double rowLeft = 0;
  double rowRight = 0;
  for (int i = first; i <= last; ++i) {
    const double centre = MarkerCentreX(i);
    const double toPrevious =
        i > first ? centre - MarkerCentreX(i - 1) : MarkerCentreX(i + 1) - centre;
    const double toNext = i < last ? MarkerCentreX(i + 1) - centre : centre - MarkerCentreX(i - 1);
    const double left = centre - toPrevious / 2 + kGap / 2;
    const double right = centre + toNext / 2 - kGap / 2;
    faces.push_back({left, top, right - left, kKeyHeight,
                     kKeyOrder.substr(static_cast<std::size_t>(i), 1),
                     kLetterFingers[static_cast<std::size_t>(i)], i});
    if (i == first) rowLeft = left;
    rowRight = right;
  }
  AddRow(faces, kLeftEdge, rowLeft - kGap, top, leftKeys);
  AddRow(faces, rowRight + kGap, kRightEdge, top, rightKeys);
}

}  // namespace

std::vector<KeyFace> KeyboardFaces() {
  std::vector<KeyFace> faces;
  AddRow(faces, kLeftEdge, kRightEdge, LetterRowTop(0) - kKeyHeight - kRowGap,
         {{u"`", 38, kLeftLittle},
          {u"1", 38, kLeftLittle},
          {u"2", 38, kLeftRing},
          {u"3", 38, kLeftMiddle},
          {u"4", 38, kLeftIndex},
          {u"5", 38, kLeftIndex},
          {u"6", 38, kRightIndex},
          {u"7", 38, kRightIndex},
          {u"8", 38, kRightMiddle},
          {u"9", 38, kRightRing},
          {u"0", 38, kRightLittle},
          {u"-", 38, kRightLittle},
          {u"=", 38, kRightLittle},
          {u"Backspace", 0, kRightLittle}});

  AddLetterRow(faces, 0, 9, {{u"Tab", 0, kLeftLittle}},
               {{u"[", 40, kRightLittle}, {u"]", 40, kRightLittle}, {u"\\", 0, kRightLittle}});
  AddLetterRow(faces, 10, 18, {{u"Caps Lock", 0, kLeftLittle}},
               {{u";", 42, kRightLittle}, {u"'", 42, kRightLittle}, {u"Enter", 0, kRightLittle}});
  AddLetterRow(faces, 19, 25, {{u"Shift", 0, kLeftLittle}},
               {{u",", 44, kRightMiddle},
                {u".", 44, kRightRing},
                {u"/", 44, kRightLittle},
                {u"Shift", 0, kRightLittle}});

  AddRow(faces, kLeftEdge, kRightEdge, LetterRowTop(19) + kKeyHeight + kRowGap,
         {{u"Ctrl", 56, kLeftLittle},
          {u"Win", 44, kLeftLittle},
          {u"Alt", 50, kThumb},
          {u"", 0, kThumb},
          {u"Alt", 50, kThumb},
          {u"Win", 44, kRightLittle},
          {u"Menu", 44, kRightLittle},
          {u"Ctrl", 56, kRightLittle}});
  return faces;
}

}  // namespace kelvaro
