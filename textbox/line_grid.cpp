#include "textbox/line_grid.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace kelvaro {
namespace {

// The letters that reach highest and lowest in the boxes' texts: a Chinese
// character and full-width bracket, tone marks over ü, descenders.
const QString kTallestAndDeepest = QStringLiteral("国（ǘǚǜgjy");

}  // namespace

LineGrid LineGrid::For(const QFont& font, qreal height, qreal pixelRatio) {
  const QFontMetricsF metrics(font);
  // Letter by letter: the box of a string can be tighter than its letters'.
  QRectF ink;  // relative to the baseline
  for (const QChar letter : kTallestAndDeepest) ink |= metrics.tightBoundingRect(letter);
  // In device pixels from here on, with a pixel more on each side for the
  // antialiased edges of glyphs drawn at this ratio.
  const qreal ratio = std::max<qreal>(pixelRatio, 1e-3);
  const qreal above = -ink.top() * ratio + 1;
  const qreal below = ink.bottom() * ratio + 1;
  const int natural = static_cast<int>(std::ceil(metrics.lineSpacing() * ratio - 1e-6));
  const int closest = static_cast<int>(std::ceil(above + below - 1e-6));
  const int room = static_cast<int>(std::floor(height * ratio + 1e-6));
  // Closer only where that wins a line.
  const int lines = room / std::max(1, closest);
  const int pitch = lines == 0 ? natural : std::min(natural, std::max(closest, room / lines));
  // The ink centred in the row, moved as little as it takes for the font's
  // line box (where a text layout paints a selection's background) to cover
  // the row, and never so far that the ink leaves the row.
  const qreal centred = (pitch - above - below) / 2 + above;
  const qreal covering =
      std::max(pitch - metrics.descent() * ratio, std::min(centred, metrics.ascent() * ratio));
  const qreal inRow = std::max(above, std::min(covering, pitch - below));
  LineGrid grid;
  grid.pitch = pitch / ratio;
  grid.baseline = static_cast<int>(std::lround(inRow)) / ratio;
  grid.rows = std::max(1, room / pitch);
  return grid;
}

}  // namespace kelvaro
