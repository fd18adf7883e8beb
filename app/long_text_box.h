#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <optional>
#include <vector>

#include "app/line_pictures.h"
#include "app/wrapped_lines.h"

class QMenu;
class QMimeData;
class QTextCursor;
class QTextDocument;

namespace kelvaro {

// A multi-line, word-wrapped, editable text box for long texts that are
// mostly rewritten whole, such as one paragraph of 50,000 characters at every
// keystroke. It edits, selects, undoes and talks to input methods as a plain
// text edit does, but lays out only the lines in view: line breaks come from
// cached piece widths (WrappedLines), and each visible line is shaped and
// drawn by a text layout of its own.
//
// The text is held as a string; the user's edits go through a text document
// (never laid out) for its cursor movements and undo history. The document is
// filled from the string at the first edit after the program sets the text,
// so setting the text costs no more than wrapping what changed.
class LongTextBox : public QAbstractScrollArea {
  Q_OBJECT

  // Between the frame and the text, as in a plain text edit.
  static constexpr int kTextMargin = 4;

 public:
  explicit LongTextBox(QWidget* parent = nullptr);
  ~LongTextBox() override;

  // Sets the text, places the cursor at its start and clears the undo history.
  void setPlainText(const QString& text);
  // Replaces the whole text as pasting over all of it does, one edit that
  // one undo takes back, and places the cursor at its start.
  void replaceAll(const QString& text);
  const QString& toPlainText() const { return text_; }
  int cursorPosition() const { return cursor_; }
  int anchorPosition() const { return anchor_; }
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
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class LongTextAccessible;

  // Editing through the document.
  QTextDocument& Document();
  QTextCursor DocumentCursor();
  // Takes the text, cursor and selection from an edited document cursor.
  void Apply(const QTextCursor& cursor);
  // Takes a new text with the cursor and anchor in it, rewrapping what
  // changed; false when the text is the same. The cursor is placed first, as
  // rewrapping may scroll, and an input method then asks where it is.
  bool TakeText(const QString& text, int cursor, int anchor);
  void InsertFromMimeData(const QMimeData* data);
  void DeleteSelection();
  bool MoveByKey(QKeyEvent* event);
  // Moves the cursor to a position under the point at x, keeping the anchor:
  // by characters, or by the words or paragraphs of the double or triple
  // click that began the selection.
  void ExtendSelection(int position, qreal x);
  bool EditByKey(QKeyEvent* event);
  void SetSelectionToClipboard() const;

  // Layout.
  qreal LineHeight() const;
  qreal LineWidth() const;
  qreal LineTop(int line) const;
  int FirstVisibleLine() const;
  // A shaped line, with the pre-edit text inserted when it holds the caret.
  std::unique_ptr<QTextLayout> LayOutLine(int line) const;
  // The direction of the paragraph that holds a line, from its first letter
  // with a strong direction, as a text layout of the whole paragraph finds it.
  Qt::LayoutDirection ParagraphDirection(int line) const;
  // Where the paragraph that holds a line starts.
  int ParagraphStartOfLine(int lineStart) const;
  // Where a position lies in its line's layout, counting the pre-edit text.
  int LayoutIndex(int line, int position) const;
  // The caret position nearest to a point, or the character under it.
  int PositionAt(QPointF viewportPoint,
                 QTextLine::CursorPosition at = QTextLine::CursorBetweenCharacters) const;
  int LineAtY(qreal y) const;
  // The x of the caret at a position, in viewport coordinates.
  qreal XOf(int position) const;
  // A character's box in viewport coordinates.
  QRect CharacterRect(int position) const;
  // Where the shown line that holds a position starts and ends; a wrapped
  // line ends before the space that ended it, as in a text layout.
  std::pair<int, int> LineBoundaries(int position) const;
  void Rewrap();
  void UpdateExtraRows();
  void StartDrag();
  void UpdateScrollRange();
  void EnsureCursorVisible();
  // Updates the scroll range, then scrolls the least that shows a rectangle
  // of the viewport.
  void EnsureVisible(const QRect& rect);
  void ScrollTo(int position) { EnsureVisible(CharacterRect(position)); }
  void CursorMoved();
  void RestartBlink();

  QString text_;
  int cursor_ = 0;
  int anchor_ = 0;
  mutable WrappedLines lines_;  // wrapped lazily, as lines are looked at
  // The paragraph start of the line start asked for last, or none (-1).
  mutable int knownLineStart_ = -1;
  mutable int knownParagraphStart_ = 0;
  LinePictures pictures_;  // of the lines in view
  std::unique_ptr<QTextDocument> document_;
  bool documentCurrent_ = false;
  qreal goalX_ = -1;  // the x that Up and Down keep, or none
  // The caret's height on the screen that page after page keeps, if paging.
  std::optional<qreal> pagingTop_;

  // The input method's text being composed at the cursor.
  QString preedit_;
  int preeditCursor_ = 0;
  bool preeditCursorShown_ = true;
  QList<QTextLayout::FormatRange> preeditFormats_;
  int extraRows_ = 0;  // rows the caret's line takes beyond one while composing

  // Mouse selection: by words after a double click, by paragraphs after a
  // triple click; a press in the selection may start a drag.
  enum class SelectBy { Characters, Words, Paragraphs };
  SelectBy selectBy_ = SelectBy::Characters;
  int selectionOrigin_ = 0;  // the start of the word or paragraph clicked first
  int selectionOriginEnd_ = 0;
  QPointF pressPoint_;
  bool mightDrag_ = false;
  QElapsedTimer sinceDoubleClick_;
  QPointF doubleClickPoint_;
  int dropCursor_ = -1;

  int markFrom_ = 0;  // the follow mark, empty when none
  int markTo_ = 0;

  bool caretShown_ = false;
  QBasicTimer blink_;
};

}  // namespace kelvaro
