#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <vector>

class QWidget;

namespace kelvaro {

// The serif Chinese font the boxes are tested with, at a point size.
QFont SerifCjkFont(double pointSize);

// Where each line of a text box starts, as its accessible text tells a
// screen reader: the starts of the lines at all its offsets, in order.
QList<int> LineStarts(QWidget* box);

// The box keeps each CR LF as it came, two code units, where a plain text
// edit holds one paragraph break (and a lone CR as that break too): the
// box's positions mapped to those of the plain text edit's text. Offsets
// outside the text keep their distance from it.
class BreakMap {
 public:
  explicit BreakMap(const QString& boxText);
  int ToPlain(int box) const;
  int ToBox(int plain) const;

 private:
  int boxSize_;
  int plainSize_;
  std::vector<int> crLfs_;  // where each CR LF starts in the box's text
};

}  // namespace kelvaro
