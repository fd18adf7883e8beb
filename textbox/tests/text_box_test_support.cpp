#include "textbox/tests/text_box_test_support.h"

#include <QAccessible>
#include <QWidget>
#include <algorithm>
#include <limits>

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

BreakMap::BreakMap(const QString& boxText) : boxSize_(static_cast<int>(boxText.size())) {
  for (int i = 0; i + 1 < boxText.size(); ++i) {
    if (boxText[i] == u'\r' && boxText[i + 1] == u'\n') crLfs_.push_back(i);
  }
  plainSize_ = boxSize_ - static_cast<int>(crLfs_.size());
}

int BreakMap::ToPlain(int box) const {
  if (box < 0 || box == std::numeric_limits<int>::max()) return box;
  if (box > boxSize_) return plainSize_ + (box - boxSize_);
  return box - static_cast<int>(std::count_if(crLfs_.begin(), crLfs_.end(),
                                              [box](int crLf) { return crLf + 2 <= box; }));
}

int BreakMap::ToBox(int plain) const {
  if (plain < 0 || plain == std::numeric_limits<int>::max()) return plain;
  if (plain > plainSize_) return boxSize_ + (plain - plainSize_);
  return plain + static_cast<int>(std::count_if(crLfs_.begin(), crLfs_.end(),
                                                [&](int crLf) { return ToPlain(crLf) < plain; }));
}

}  // namespace kelvaro
