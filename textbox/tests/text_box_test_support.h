#pragma once

#include <QFont>
#include <QList>

class QWidget;

namespace kelvaro {

// The serif Chinese font the boxes are tested with, at a point size.
QFont SerifCjkFont(double pointSize);

// Where each line of a text box starts, as its accessible text tells a
// screen reader: the starts of the lines at all its offsets, in order.
QList<int> LineStarts(QWidget* box);

}  // namespace kelvaro
