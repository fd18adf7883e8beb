#pragma once

#include <QStringView>
#include <Qt>
#include <algorithm>

#include "textbox/line_breaks.h"

namespace kelvaro {

// The direction of the paragraph that starts a text, as a text document
// finds it: from its first letter with a strong direction, else left to
// right. It is looked for no further than the paragraph's end, nor than
// `lookedAt` code units.
inline Qt::LayoutDirection ParagraphDirection(QStringView text, qsizetype lookedAt) {
  const qsizetype end = std::min(text.size(), lookedAt);
  for (qsizetype i = 0; i < end && !IsLineBreak(text[i]); ++i) {
    char32_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    switch (QChar::direction(c)) {
      case QChar::DirL:
        return Qt::LeftToRight;
      case QChar::DirR:
      case QChar::DirAL:
        return Qt::RightToLeft;
      default:
        break;
    }
  }
  return Qt::LeftToRight;
}

}  // namespace kelvaro
