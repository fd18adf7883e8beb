#include "textbox/tests/text_box_test_support.h"

#include <QAccessible>
#include <QWidget>

namespace kelvaro {

// The Noto CJK font draws l, 1 and I apart and every tone-marked letter; AR
// PL UMing is the serif font of Debian's other Chinese package.
QFont SerifCjkFont(double pointSize) {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")});
  font.setPointSizeF(pointSize);
  return font;
}

QList<int> LineStarts(QWidget* box) {
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(box)->textInterface();
  QList<int> starts;
  for (int offset = 0; offset <= text->characterCount(); ++offset) {
    int start = 0;
    int end = 0;
    text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
    if (starts.isEmpty() || starts.back() != start) starts << start;
  }
  return starts;
}

}  // namespace kelvaro
