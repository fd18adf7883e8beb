#pragma once

#include <QMouseEvent>

#include "app/caption_label.h"

namespace kelvaro {

// A label or picture that reports a click: a left-button press and release
// both inside it.
class ClickableLabel : public CaptionLabel {
  Q_OBJECT

 public:
  using CaptionLabel::CaptionLabel;

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
      emit clicked();
    }
  }

 private:
  bool pressed_ = false;
};

}  // namespace kelvaro
