#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QString>
#include <vector>

class QMenu;

namespace kelvaro {

// A multi-line, word-wrapped, editable text box for long texts that are
// mostly rewritten whole, such as one paragraph of 50,000 characters at every
// keystroke. It breaks lines from cached character widths and shapes only
// the lines in view, so rewriting costs little however long the text is.
class LongTextBox : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit LongTextBox(QWidget* parent = nullptr);

  void setPlainText(const QString& text);
  const QString& toPlainText() const { return text_; }
  int cursorPosition() const { return cursor_; }
  void setCursorPosition(int position, bool keepAnchor = false);
  QString selectedText() const;
  void selectAll();
  // The box's own context menu (cut, copy, paste, select all), for the
  // caller to extend and show; the caller owns it.
  QMenu* createStandardContextMenu();

  // Where each wrapped line starts, as positions in the text.
  const std::vector<int>& lineStarts() const { return lineStarts_; }

 signals:
  void textChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Relayout();
  void Replace(int from, int to, const QString& with);
  void InsertAtCursor(const QString& with);
  void Copy() const;
  qreal Advance(int position) const;
  int LineOf(int position) const;
  int LineEnd(int line) const;
  qreal XInLine(int line, int position) const;
  qreal XOf(int position) const;
  int PositionAt(QPoint viewportPoint) const;
  int LineHeight() const;
  void EnsureCursorVisible();
  void RestartBlink();

  QString text_;
  int cursor_ = 0;
  int anchor_ = 0;
  std::vector<int> lineStarts_{0};
  mutable std::vector<float> advanceCache_;
  bool caretShown_ = false;
  QBasicTimer blink_;
};

}  // namespace kelvaro
