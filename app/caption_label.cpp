#include "app/caption_label.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace kelvaro {

void CaptionLabel::paintEvent(QPaintEvent* event) {
  const QRect area = contentsRect();
  if (text().isEmpty() || textFormat() == Qt::RichText || !pixmap().isNull()) {
    QLabel::paintEvent(event);
    return;
  }
  QTextLayout layout(text(), font());
  QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
  option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(area.width());
  }
  layout.endLayout();

  const QFontMetricsF metrics(font());
  const int lines = layout.lineCount();
  if (lines * metrics.lineSpacing() <= area.height()) {
    QLabel::paintEvent(event);  // fits as it is
    return;
  }
  const qreal pitch = std::max<qreal>(QFontInfo(font()).pixelSize(), qreal(area.height()) / lines);
  const QRectF ink = metrics.tightBoundingRect(text());  // relative to the baseline
  const qreal baseline = (pitch - ink.height()) / 2 - ink.top();
  for (int i = 0; i < lines; ++i) {
    QTextLine line = layout.lineAt(i);
    line.setPosition(QPointF(0, i * pitch + baseline - line.ascent()));
  }
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  layout.draw(&painter, area.topLeft());
}

}  // namespace kelvaro
