#include "keyboard/keyboard_drawing.h"

#include <gtest/gtest.h>

#include <string>

#include "keyboard/key_markers.h"
#include "tests/test_support.h"

namespace kelvaro {
namespace {

TEST(KeyboardDrawing, EveryMarkerSitsNearTheLowerEdgeOfItsKey) {
  const auto faces = KeyboardFaces();
  int letters = 0;
  for (const KeyFace& face : faces) {
    if (face.markerIndex < 0) {
      continue;
    }
    ++letters;
    const KeyMarker& marker = kKeyMarkers[static_cast<std::size_t>(face.markerIndex)];
    SCOPED_TRACE("key " + Utf8(face.label));
    EXPECT_EQ(face.label, kKeyOrder.substr(static_cast<std::size_t>(face.markerIndex), 1));
    const double x = marker.offsetX / 15.0;
    const double y = marker.offsetY / 15.0;
    // Inside the face, in its lower half, at most 6 px above its lower edge.
    EXPECT_GE(x, face.x);
    EXPECT_LE(x + kMarkerWidthPixels, face.x + face.width);
    EXPECT_GE(y, face.y + face.height / 2);
    EXPECT_LE(y + kMarkerHeightPixels, face.y + face.height);
    EXPECT_GE(y + kMarkerHeightPixels, face.y + face.height - 6);
  }
  EXPECT_EQ(letters, static_cast<int>(kLetterKeyCount));
}

TEST(KeyboardDrawing, KeysStayInsideThePictureAndDoNotOverlap) {
  const auto faces = KeyboardFaces();
  for (std::size_t i = 0; i < faces.size(); ++i) {
    const KeyFace& a = faces[i];
    SCOPED_TRACE("key face " + std::to_string(i));
    EXPECT_GE(a.x, 0);
    EXPECT_GE(a.y, 0);
    EXPECT_LE(a.x + a.width, kKeyboardPictureWidth);
    EXPECT_LE(a.y + a.height, kKeyboardPictureHeight);
    EXPECT_GT(a.width, 20);
    for (std::size_t j = i + 1; j < faces.size(); ++j) {
      const KeyFace& b = faces[j];
      const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                         b.y + b.height <= a.y;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
}

}  // namespace
}  // namespace kelvaro
