#pragma once

#include <QPlainTextEdit>

namespace kelvaro {

// A plain text edit that takes a drop without crashing. Qt's own puts the
// caret in view while the drop's edit block is still open, before the
// paragraph that took the text is laid out again; where the caret then lies
// past that paragraph's old lines, it reads a line that does not exist.
// This one inserts the dropped text as Qt's does and puts the caret in view
// once the drop is done. Everything else is Qt's.
class PlainTextBox : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  void dropEvent(QDropEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  bool dropping_ = false;
};

}  // namespace kelvaro
