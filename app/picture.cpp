#include "app/picture.h"

#include <QImageReader>
#include <QPainter>
#include <cmath>

namespace kelvaro {

Picture::Picture(const QString& resource, const QPoint& topLeft, QWidget* parent)
    : ClickableLabel(parent), files_(resource) {
  setGeometry(QRect(topLeft, QImageReader(resource).size()));
}

void Picture::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatio();
  if (shown_.isNull() || shown_.devicePixelRatio() != ratio) {
    // Between 1x and 2x the icon would pick the 1x file and enlarge it;
    // the 2x file scaled down stays sharp.
    const QSize devicePixels = (QSizeF(size()) * ratio).toSize();
    shown_ = files_.pixmap(size(), std::ceil(ratio))
                 .scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    shown_.setDevicePixelRatio(ratio);
  }
  QPainter(this).drawPixmap(QPoint(0, 0), shown_);
}

}  // namespace kelvaro
