#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <memory>

class QMenu;

namespace kelvaro {

class LongTextBoxPrivate;

// A multi-line, word-wrapped, editable text box for long texts that are
// mostly rewritten whole, such as one paragraph of 50,000 characters at every
// keystroke. It edits, selects, undoes and talks to input methods and screen
// readers as a plain text edit does, but lays out only the lines in view.
// Positions are UTF-16 code units of toPlainText(). Line breaks stay as they
// came, LF, CR or CR LF, a CR LF one break: no position lies between its CR
// and its LF.
class LongTextBox : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit LongTextBox(QWidget* parent = nullptr);
  ~LongTextBox() override;

  // Sets the text, places the cursor at its start and clears the undo history.
  void setPlainText(const QString& text);
  // Sets the text as setPlainText does, to the text held with `removed` code
  // units at position replaced by inserted: for a caller that knows which
  // stretch of a long text changed.
  void setPlainTextStretch(int position, int removed, QStringView inserted);
  // Replaces the whole text as pasting over all of it does, one edit that
  // one undo takes back, and places the cursor at its start.
  void replaceAll(const QString& text);
  const QString& toPlainText() const;

  // The stretch of the text that the change signalled last replaced: at
  // position, `removed` code units gave way to `added`.
  struct Change {
    int position = 0;
    int removed = 0;
    int added = 0;
    bool operator==(const Change&) const = default;
  };
  Change lastChange() const;
  // True once the user has edited the text since the program last set it.
  bool isModified() const;
  int cursorPosition() const;
  int anchorPosition() const;
  void setCursorPosition(int position, bool keepAnchor = false);
  QString selectedText() const;
  // Marks the characters from to to (end excluded) with a highlighter's
  // colour, apart from the selection, and scrolls them into view; an empty
  // range takes the mark away.
  void SetFollowMark(int from, int to);
  // The standard edit menu of a text box; the caller owns it.
  QMenu* createStandardContextMenu();

  // The caret's rectangle in viewport coordinates.
  QRect cursorRect() const;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 public slots:
  void selectAll();
  void undo();
  void redo();
  void cut();
  void copy() const;
  void paste();

 signals:
  // Once for every change of the text, with the new text in place.
  void textChanged();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  std::unique_ptr<LongTextBoxPrivate> d_;
};

}  // namespace kelvaro
