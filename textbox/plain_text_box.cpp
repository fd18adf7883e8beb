#include "textbox/plain_text_box.h"

#include <QMimeData>
#include <QTextDocumentFragment>
#include <utility>

namespace kelvaro {

void PlainTextBox::dropEvent(QDropEvent* event) {
  const bool wasDropping = std::exchange(dropping_, true);
  QPlainTextEdit::dropEvent(event);
  dropping_ = wasDropping;
  ensureCursorVisible();
}

void PlainTextBox::insertFromMimeData(const QMimeData* source) {
  if (!dropping_) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  // What Qt's inserts for a plain text edit, without putting the caret in view.
  if (source == nullptr || !canInsertFromMimeData(source)) return;
  textCursor().insertFragment(QTextDocumentFragment::fromPlainText(source->text()));
}

}  // namespace kelvaro
