#pragma once

#include <QFont>

namespace kelvaro {

// Where a text box sets its lines: on a grid of rows that the viewport shows
// whole, never a line cut by its bottom edge. The CJK fonts space their lines
// about 1.45 em apart, so a box sized for tighter fonts would show a line and
// part of the next; where the viewport holds one more whole line with the
// lines closer (never closer than the ink of the font's tallest and deepest
// letters and a pixel), they are set that much closer, else at the font's
// own spacing. A line's ink stays in its row, as near its middle as the
// font's line box, which a selection's background fills, lets it while still
// covering the row. All in logical pixels, on whole device pixels.
struct LineGrid {
  qreal pitch = 1;     // from one row's top to the next
  qreal baseline = 0;  // from a row's top
  int rows = 1;        // whole rows the viewport shows; at least one

  // The grid for a font in a viewport whose rows may take `height`.
  static LineGrid For(const QFont& font, qreal height, qreal pixelRatio);
};

}  // namespace kelvaro
