#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QScrollBar>
#include <QString>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "textbox/edit_history.h"
#include "textbox/line_grid.h"
#include "textbox/line_pictures.h"
#include "textbox/long_text_box.h"
#include "textbox/wrapped_lines.h"

class QMimeData;

namespace kelvaro {

// What a LongTextBox holds and does: its text, cursor, lines and editing.
// Line breaks come from cached piece widths (WrappedLines), and each visible
// line is shaped and drawn by a text layout of its own.
//
// The text is held once, as a string, with its line breaks as they came (LF,
// CR or CR LF). The user's edits are recorded for undo as a text document
// records them; cursor moves are those of a text cursor in a document of the
// paragraphs around the cursor (ParagraphCursor).
//
// A child of its box, where the box's accessible interface finds it (Of).
class LongTextBoxPrivate : public QObject {
  Q_OBJECT

 public:
  // Between the frame and the text, as in a plain text edit.
  static constexpr int kTextMargin = 4;

  // updateMicroFocus tells the input method that the caret or text moved.
  LongTextBoxPrivate(LongTextBox* box, std::function<void()> updateMicroFocus);
  ~LongTextBoxPrivate() override;

  static LongTextBoxPrivate& Of(const LongTextBox& box);

  // The box's operations (see LongTextBox).
  void setPlainText(const QString& text);
  void setPlainTextStretch(int position, int removed, QStringView inserted);
  void replaceAll(const QString& text);
  const QString& text() const { return text_; }
  LongTextBox::Change lastChange() const { return lastChange_; }
  bool isModified() const { return modified_; }
  int cursorPosition() const { return cursor_; }
  int anchorPosition() const { return anchor_; }
  void setCursorPosition(int position, bool keepAnchor = false);
  QString selectedText() const;
  void SetFollowMark(int from, int to);
  QMenu* createStandardContextMenu();
  QRect cursorRect() const;
  // The box's answer, or none where a widget's default answer holds.
  std::optional<QVariant> inputMethodQuery(Qt::InputMethodQuery query) const;
  void selectAll();
  void undo();
  void redo();
  void cut();
  void copy() const;
  void paste();

  // The box's events; false where the box leaves one to its base class.
  bool TakesShortcut(QKeyEvent* event) const;
  void paintEvent();
  void resizeEvent();
  void scrollContentsBy();
  bool keyPressEvent(QKeyEvent* event);
  void inputMethodEvent(QInputMethodEvent* event);
  void mousePressEvent(QMouseEvent* event);
  void mouseMoveEvent(QMouseEvent* event);
  void mouseReleaseEvent(QMouseEvent* event);
  void mouseDoubleClickEvent(QMouseEvent* event);
  void dragEnterEvent(QDragEnterEvent* event);
  void dragMoveEvent(QDragMoveEvent* event);
  void dragLeaveEvent();
  void dropEvent(QDropEvent* event);
  void focusInEvent();
  void focusOutEvent();
  void changeEvent(QEvent* event);

  // What the accessible interface asks besides the box's own operations.
  // Replaces the text from `from` to `to` as a screen reader's edit does,
  // the caret staying where it is in the text.
  void ReplaceText(int from, int to, const QString& text);
  // The caret position nearest to a point, or the character under it.
  int PositionAt(QPointF viewportPoint,
                 QTextLine::CursorPosition at = QTextLine::CursorBetweenCharacters) const;
  // A character's box in viewport coordinates.
  QRect CharacterRect(int position) const;
  // Where the shown line that holds a position starts and ends; a wrapped
  // line ends before the space that ended it, as in a text layout.
  std::pair<int, int> LineBoundaries(int position) const;
  // Scrolls the least that shows the row of a position.
  void ScrollTo(int position);

 protected:
  void timerEvent(QTimerEvent* event) override;  // the caret's blink

 private:
  // The box's widget, as the code below names its parts.
  QWidget* viewport() const { return box_->viewport(); }
  QScrollBar* verticalScrollBar() const { return box_->verticalScrollBar(); }
  QFont font() const { return box_->font(); }
  const QPalette& palette() const { return box_->palette(); }
  bool hasFocus() const { return box_->hasFocus(); }

  // Takes a new text that the program sets, with the cursor and anchor in
  // it, rewrapping what changed; false when the text is the same. The cursor
  // is placed first, as rewrapping may scroll, and an input method then asks
  // where it is.
  bool TakeText(const QString& text, int cursor, int anchor);
  // The same for a text that differs from the one held only in a stretch.
  bool TakeStretch(int position, int removed, QStringView inserted);
  // Rewraps and notes a stretch of the text replaced, after the replacement.
  void TextReplaced(int position, int removed, int added, int oldSize);
  // Takes what the text was set to: the cursor and scroll at its start, the
  // input method told; then signals the change.
  void TextSet();
  // Sets lastChange_ to the stretch that the edits noted since the last
  // signal replaced, together.
  void TakeChange();
  // Takes a change of the text by an edit, an undo or a redo into its
  // lines; moves the cursors with it as a text cursor moves. Finish then
  // shows it and signals it, once for the edit.
  void TextEdited(int position, const QString& removed, int added);
  // Where the user's edit left the cursor and anchor: shows the edit and
  // signals it, once.
  void Finish(int cursor, int anchor);
  void Finish() { Finish(cursor_, anchor_); }
  // Ends an edit made at the cursor, a lone CR that it brought before a line
  // feed turned into a line feed, so that the breaks stay as they were.
  void EndEdit();
  // Replaces the selection with text as a text cursor's insertText does.
  void InsertAtCursor(const QString& text);
  // Shows a change of the text taken: scroll range, repaint, screen readers.
  void TextTaken();
  void InsertFromMimeData(const QMimeData* data);
  void DeleteSelection();
  int SelectionStart() const { return std::min(cursor_, anchor_); }
  int SelectionEnd() const { return std::max(cursor_, anchor_); }
  // Where the paragraph that holds a position ends, after its break.
  int ParagraphEndWithBreak(int position) const;
  // The place a text cursor's move from the cursor leads to.
  int Moved(QTextCursor::MoveOperation operation, bool select = false) const;
  bool MoveByKey(QKeyEvent* event);
  // Places the cursor where the mouse puts it, ending a selection by words
  // or paragraphs.
  void PlaceCursorByMouse(int position);
  // Moves the cursor to a position under the point at x, keeping the anchor:
  // by characters, or by the words or paragraphs of the double or triple
  // click that began the selection.
  void ExtendSelection(int position, qreal x);
  bool EditByKey(QKeyEvent* event);
  // Deletes the character before (Backspace) or after (Delete) the cursor,
  // or the selection.
  void DeleteCharacter(bool backwards);
  void SetSelectionToClipboard() const;

  // Layout. The scroll bar counts rows: one a line, and the rows a line
  // being composed takes beyond one (extraRows_).
  // The rows of the viewport as it is now.
  const LineGrid& Grid() const;
  qreal LineWidth() const;
  qreal LineTop(int line) const;
  // The row of a line's first row, and the line shown in a row.
  int RowOfLine(int line) const;
  int LineOfRow(int row) const;
  // The row that shows a place in a line's layout.
  int RowAt(int line, int layoutIndex) const;
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
  int LineAtY(qreal y) const;
  // The x of the caret at a position, in viewport coordinates.
  qreal XOf(int position) const;
  void Rewrap();
  void UpdateExtraRows();
  void StartDrag();
  void UpdateScrollRange();
  void EnsureCursorVisible();
  // Updates the scroll range, then scrolls the least that shows a row whole.
  void EnsureRowVisible(int row);
  // The caret before a place in a line's layout, as tall as its row.
  void DrawCaret(QPainter& painter, const QTextLayout& layout, QPointF origin, int index) const;
  void CursorMoved();
  void RestartBlink();

  LongTextBox* const box_;
  const std::function<void()> updateMicroFocus_;

  QString text_;
  int cursor_ = 0;
  int anchor_ = 0;
  mutable WrappedLines lines_;  // wrapped lazily, as lines are looked at
  // The paragraph start of the line start asked for last, or none (-1).
  mutable int knownLineStart_ = -1;
  mutable int knownParagraphStart_ = 0;
  LinePictures pictures_;  // of the lines in view
  // The grid for the viewport's height and pixel ratio it was made for; none
  // after a change of the font.
  mutable std::optional<LineGrid> grid_;
  mutable int gridHeight_ = 0;
  mutable qreal gridPixelRatio_ = 0;
  EditHistory history_;
  bool textEdited_ = false;  // by the edit on hand, not yet signalled
  // Where the edit on hand brought a CR before a line feed.
  std::vector<int> joinedBreaks_;
  bool modified_ = false;  // by the user, since the program set the text
  // What the edits since the last signal changed: where the first change
  // starts, how long a tail none reached, and the text's size before them.
  struct PendingChange {
    int start;
    int tail;
    int oldSize;
  };
  std::optional<PendingChange> pendingChange_;
  LongTextBox::Change lastChange_;
  struct Change {
    int position;
    QString removed;
    QString inserted;
  };
  std::vector<Change> changesToTell_;  // to screen readers, while one listens
  int edits_ = 0;                      // changes of the text by edits so far
  // Where the last deletion of a character left the cursor, and after which
  // change of the text.
  struct Deletion {
    int edits;
    int position;
  };
  std::optional<Deletion> lastDeletion_;
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
  // triple click, for as long as some of the word or paragraph clicked is
  // left: edits move these as they move a text cursor, as a plain text edit
  // keeps what was clicked. A press in the selection may start a drag.
  struct Clicked {
    int from = 0;
    int to = 0;
    bool Any() const { return from != to; }
  };
  Clicked wordClicked_;
  Clicked paragraphClicked_;
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
