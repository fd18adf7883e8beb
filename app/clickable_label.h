#pragma once

#include <QMetaMethod>
#include <QMouseEvent>

#include "app/caption_label.h"

namespace kelvaro {

// A label or picture that reports a click: a left-button press and release
// both inside it.
class ClickableLabel : public CaptionLabel {
  Q_OBJECT

 public:
  using CaptionLabel::CaptionLabel;

  // Whether a click does anything: whether the clicked signal is connected.
  bool DoesSomething() const {
    return isSignalConnected(QMetaMethod::fromSignal(&ClickableLabel::clicked));
  }
  // A click as the mouse gives it, for assistive technology's press action.
  void click() { emit clicked(); }

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
