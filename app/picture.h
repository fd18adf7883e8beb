#pragma once

#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include "app/clickable_label.h"

namespace kelvaro {

// A picture shown at the size of its file, which is its logical size. On a
// screen with more device pixels than logical ones, Qt's icon loader also
// takes the "@2x" file beside it; the picture is drawn from the file that
// the screen's density needs, scaled down to the screen's device pixels when
// the density lies between 1x and 2x.
class Picture : public ClickableLabel {
  Q_OBJECT

 public:
  Picture(const QString& resource, const QPoint& topLeft, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QIcon files_;
  QPixmap shown_;  // for the density it was last drawn at
};

}  // namespace kelvaro
