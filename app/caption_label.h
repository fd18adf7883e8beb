#pragma once

#include <QLabel>

namespace kelvaro {

// A label whose caption stays whole in its fixed size. The CJK fonts space
// their lines about 1.45 em apart, so a caption that wraps, or a large title,
// can overflow a label sized for tighter fonts; such a caption is then set
// solid: its lines closer together (never under one em), each line's ink
// centred in its share of the height.
class CaptionLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kelvaro
