// Keys, mouse and drag and drop of a LongTextBox, as a plain text edit takes them.
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextCursor>
#include <algorithm>
#include <cmath>
#include <optional>

#include "textbox/line_breaks.h"
#include "textbox/long_text_box_private.h"
#include "textbox/paragraph_cursor.h"

namespace kelvaro {
namespace {

enum class Move { ByCursor, LineStart, LineEnd, LineUp, LineDown, PageUp, PageDown };

struct KeyMove {
  QKeySequence::StandardKey key;
  Move move;
  QTextCursor::MoveOperation operation;  // for Move::ByCursor, a text cursor's own move
  bool select;
};

// The moves a text edit makes on its standard keys.
constexpr KeyMove kKeyMoves[] = {
    {QKeySequence::MoveToNextChar, Move::ByCursor, QTextCursor::Right, false},
    {QKeySequence::MoveToPreviousChar, Move::ByCursor, QTextCursor::Left, false},
    {QKeySequence::SelectNextChar, Move::ByCursor, QTextCursor::Right, true},
    {QKeySequence::SelectPreviousChar, Move::ByCursor, QTextCursor::Left, true},
    {QKeySequence::MoveToNextWord, Move::ByCursor, QTextCursor::WordRight, false},
    {QKeySequence::MoveToPreviousWord, Move::ByCursor, QTextCursor::WordLeft, false},
    {QKeySequence::SelectNextWord, Move::ByCursor, QTextCursor::WordRight, true},
    {QKeySequence::SelectPreviousWord, Move::ByCursor, QTextCursor::WordLeft, true},
    {QKeySequence::MoveToStartOfDocument, Move::ByCursor, QTextCursor::Start, false},
    {QKeySequence::MoveToEndOfDocument, Move::ByCursor, QTextCursor::End, false},
    {QKeySequence::SelectStartOfDocument, Move::ByCursor, QTextCursor::Start, true},
    {QKeySequence::SelectEndOfDocument, Move::ByCursor, QTextCursor::End, true},
    {QKeySequence::MoveToStartOfBlock, Move::ByCursor, QTextCursor::StartOfBlock, false},
    {QKeySequence::MoveToEndOfBlock, Move::ByCursor, QTextCursor::EndOfBlock, false},
    {QKeySequence::SelectStartOfBlock, Move::ByCursor, QTextCursor::StartOfBlock, true},
    {QKeySequence::SelectEndOfBlock, Move::ByCursor, QTextCursor::EndOfBlock, true},
    {QKeySequence::MoveToStartOfLine, Move::LineStart, QTextCursor::NoMove, false},
    {QKeySequence::MoveToEndOfLine, Move::LineEnd, QTextCursor::NoMove, false},
    {QKeySequence::SelectStartOfLine, Move::LineStart, QTextCursor::NoMove, true},
    {QKeySequence::SelectEndOfLine, Move::LineEnd, QTextCursor::NoMove, true},
    {QKeySequence::MoveToPreviousLine, Move::LineUp, QTextCursor::NoMove, false},
    {QKeySequence::MoveToNextLine, Move::LineDown, QTextCursor::NoMove, false},
    {QKeySequence::SelectPreviousLine, Move::LineUp, QTextCursor::NoMove, true},
    {QKeySequence::SelectNextLine, Move::LineDown, QTextCursor::NoMove, true},
    {QKeySequence::MoveToPreviousPage, Move::PageUp, QTextCursor::NoMove, false},
    {QKeySequence::MoveToNextPage, Move::PageDown, QTextCursor::NoMove, false},
    {QKeySequence::SelectPreviousPage, Move::PageUp, QTextCursor::NoMove, true},
    {QKeySequence::SelectNextPage, Move::PageDown, QTextCursor::NoMove, true},
};

// The standard keys that edit.
constexpr QKeySequence::StandardKey kEditKeys[] = {
    QKeySequence::Undo,
    QKeySequence::Redo,
    QKeySequence::Cut,
    QKeySequence::Copy,
    QKeySequence::Paste,
    QKeySequence::SelectAll,
    QKeySequence::Delete,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
    QKeySequence::InsertParagraphSeparator,
    QKeySequence::InsertLineSeparator,
};

bool IsPlainTyping(const QKeyEvent* event) {
  const QString text = event->text();
  if (text.isEmpty() || (event->modifiers() & Qt::ControlModifier)) return false;
  // A character beyond the first plane comes as a surrogate pair.
  const char32_t first = text.at(0).isHighSurrogate() && text.size() > 1
                             ? QChar::surrogateToUcs4(text.at(0), text.at(1))
                             : text.at(0).unicode();
  return QChar::isPrint(first) || first == u'\t';
}

}  // namespace

bool LongTextBoxPrivate::TakesShortcut(QKeyEvent* key) const {
  // Keys this box takes are not shortcuts while it has the focus.
  return IsPlainTyping(key) || key->key() == Qt::Key_Backspace ||
         std::any_of(std::begin(kKeyMoves), std::end(kKeyMoves),
                     [key](const KeyMove& move) { return key->matches(move.key); }) ||
         std::any_of(std::begin(kEditKeys), std::end(kEditKeys),
                     [key](QKeySequence::StandardKey edit) { return key->matches(edit); });
}

bool LongTextBoxPrivate::keyPressEvent(QKeyEvent* event) {
  if (!MoveByKey(event) && !EditByKey(event)) return false;
  event->accept();
  return true;
}

bool LongTextBoxPrivate::MoveByKey(QKeyEvent* event) {
  const auto found =
      std::find_if(std::begin(kKeyMoves), std::end(kKeyMoves),
                   [event](const KeyMove& move) { return event->matches(move.key); });
  if (found == std::end(kKeyMoves)) return false;
  // Where the cursor goes, if anywhere; the anchor goes with it unless the
  // move selects.
  std::optional<int> to;
  const int line = lines_.LineOf(cursor_);
  const int start = lines_.Start(line);
  const bool vertical = found->move == Move::LineUp || found->move == Move::LineDown ||
                        found->move == Move::PageUp || found->move == Move::PageDown;
  if (vertical && goalX_ < 0) goalX_ = cursorRect().left();
  const auto toLine = [&](int target) {
    target = std::max(0, lines_.HasLine(target) ? target : lines_.count() - 1);
    const qreal top = LineTop(target) + Grid().pitch / 2;
    to = PositionAt(QPointF(goalX_, top));
  };
  std::optional<qreal> pagingTop;
  switch (found->move) {
    case Move::ByCursor:
      to = Moved(found->operation, found->select);
      break;
    case Move::LineStart:
      to = start;
      break;
    case Move::LineEnd:
      to = LineBoundaries(cursor_).second;
      break;
    // Selecting up from the first line goes to the start, down from the last
    // to the end.
    case Move::LineUp:
      if (line > 0) {
        toLine(line - 1);
      } else if (found->select) {
        to = 0;
      }
      break;
    case Move::LineDown:
      if (lines_.HasLine(line + 1)) {
        toLine(line + 1);
      } else if (found->select) {
        to = static_cast<int>(text_.size());
      }
      break;
    case Move::PageUp:
    case Move::PageDown: {
      // Scrolls a page, the row below the last one shown becoming the top
      // one (or the other way round), and moves the caret to the line that
      // keeps it where it was on the screen. When the end (or the start) of
      // the text is already in view, the caret goes to the last (or first) line.
      QScrollBar* bar = verticalScrollBar();
      // The caret's height is kept as a plain text edit keeps it, which
      // shows its top margin above the first line only: scrolled, its lines
      // stand a margin higher than the box's.
      const auto screenTop = [&](int at) {
        return LineTop(at) - (bar->value() > 0 ? kTextMargin : 0);
      };
      const qreal caretTop = pagingTop_ ? *pagingTop_ : screenTop(line);
      pagingTop = caretTop;
      const int rows = Grid().rows;
      const int bottomRow = bar->value() + rows - 1;
      const int bottomLine = LineOfRow(bottomRow);
      const int bottomLineRows = bottomLine == line ? 1 + extraRows_ : 1;
      int target = line;
      if (found->move == Move::PageDown && !lines_.HasLine(bottomLine + 1) &&
          RowOfLine(bottomLine) + bottomLineRows - 1 <= bottomRow) {
        target = bottomLine;
      } else if (found->move == Move::PageUp && bar->value() == 0) {
        target = 0;
      } else if (found->move == Move::PageDown) {
        bar->setValue(bar->value() + rows);
        while (lines_.HasLine(target + 1) && screenTop(target) < caretTop) ++target;
      } else {
        bar->setValue(bar->value() - rows);
        while (target > 0 && screenTop(target) > caretTop) --target;
      }
      toLine(target);
      break;
    }
  }
  const qreal goalX = goalX_;
  if (to) {
    Finish(*to, found->select ? anchor_ : *to);
  } else {
    Finish();
  }
  goalX_ = vertical ? goalX : -1;
  pagingTop_ = pagingTop;
  if (found->select) SetSelectionToClipboard();
  return true;
}

bool LongTextBoxPrivate::EditByKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo)) {
    undo();
  } else if (event->matches(QKeySequence::Redo)) {
    redo();
  } else if (event->matches(QKeySequence::Cut)) {
    cut();
  } else if (event->matches(QKeySequence::Copy)) {
    copy();
  } else if (event->matches(QKeySequence::Paste)) {
    paste();
  } else if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else {
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
      DeleteCharacter(true);
    } else if (event->matches(QKeySequence::Delete)) {
      DeleteCharacter(false);
    } else if (event->matches(QKeySequence::DeleteStartOfWord) ||
               event->matches(QKeySequence::DeleteEndOfWord)) {
      const bool before = event->matches(QKeySequence::DeleteStartOfWord);
      const int to = cursor_ != anchor_
                         ? cursor_
                         : Moved(before ? QTextCursor::PreviousWord : QTextCursor::NextWord, true);
      history_.Remove(std::min(anchor_, to), std::max(anchor_, to));
      EndEdit();
    } else if (event->matches(QKeySequence::InsertParagraphSeparator)) {
      history_.InsertBlock(SelectionStart(), SelectionEnd());
      EndEdit();
    } else if (event->matches(QKeySequence::InsertLineSeparator)) {
      // A line feed here, which starts a paragraph, as a plain text gives it.
      history_.InsertLineSeparator(SelectionStart(), SelectionEnd());
      EndEdit();
    } else if (IsPlainTyping(event)) {
      InsertAtCursor(event->text());
    } else {
      return false;
    }
    goalX_ = -1;
    Finish();
  }
  return true;
}

void LongTextBoxPrivate::DeleteCharacter(bool backwards) {
  // Within an edit block, as a plain text edit deletes. It makes one undo
  // step of deletions that meet, with no other edit between them: so does
  // this, by joining the block of the one before.
  const bool selected = cursor_ != anchor_;
  const int at = cursor_;
  // What goes: the selection; or a character before, with both halves of a
  // surrogate pair or a CR LF; or the grapheme (or break) after.
  int from = std::min(cursor_, anchor_);
  int to = std::max(cursor_, anchor_);
  int anchor = anchor_;
  if (!selected && backwards && at > 0) {
    const bool pair =
        at >= 2 && text_.at(at - 1).isLowSurrogate() && text_.at(at - 2).isHighSurrogate();
    from = pair ? at - 2 : BreakBefore(text_, at);
    anchor = from;
  } else if (!selected && !backwards) {
    to = anchor = Moved(QTextCursor::NextCharacter);
  }
  if (from == to) return;
  const bool joins = !selected && lastDeletion_ && lastDeletion_->edits == edits_ &&
                     (from == lastDeletion_->position || to == lastDeletion_->position);
  if (joins) {
    history_.JoinPreviousEditBlock();
  } else {
    history_.BeginEditBlock(cursor_);
  }
  history_.Remove(std::min(anchor, cursor_), std::max(anchor, cursor_));
  history_.EndEditBlock();
  EndEdit();
  // A selection is removed as an undo step of its own.
  lastDeletion_.reset();
  if (!selected) lastDeletion_ = Deletion{edits_, from};
}

// Mouse -------------------------------------------------------------------------

void LongTextBoxPrivate::mousePressEvent(QMouseEvent* event) {
  if (!preedit_.isEmpty()) {
    // A click ends the composition where it is, as in other text boxes.
    QGuiApplication::inputMethod()->commit();
    if (!preedit_.isEmpty()) {
      preedit_.clear();
      UpdateExtraRows();
      QGuiApplication::inputMethod()->reset();
    }
  }
  if (event->button() != Qt::LeftButton) return;
  const QPointF point = event->position();
  const int position = PositionAt(point);
  goalX_ = -1;
  const bool tripleClick =
      sinceDoubleClick_.isValid() &&
      sinceDoubleClick_.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval() &&
      (point - doubleClickPoint_).manhattanLength() < QApplication::startDragDistance();
  sinceDoubleClick_.invalidate();
  if (tripleClick) {
    // The paragraph with the break that ends it.
    paragraphClicked_ = {ParagraphStart(text_, cursor_), ParagraphEndWithBreak(cursor_)};
    Finish(paragraphClicked_.to, paragraphClicked_.from);
    return;
  }
  const int from = std::min(cursor_, anchor_);
  const int to = std::max(cursor_, anchor_);
  if (!(event->modifiers() & Qt::ShiftModifier) && from < to && position >= from && position < to) {
    mightDrag_ = true;
    pressPoint_ = point;
    return;
  }
  if (event->modifiers() & Qt::ShiftModifier) {
    // Extends the selection, by words or paragraphs after a double or triple click.
    ExtendSelection(position, point.x());
    return;
  }
  PlaceCursorByMouse(position);
}

void LongTextBoxPrivate::PlaceCursorByMouse(int position) {
  wordClicked_ = paragraphClicked_ = {};
  setCursorPosition(position);
}

void LongTextBoxPrivate::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  if (mightDrag_) {
    if ((event->position() - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
      mightDrag_ = false;
      StartDrag();
    }
    return;
  }
  ExtendSelection(PositionAt(event->position()), event->position().x());
}

void LongTextBoxPrivate::ExtendSelection(int position, qreal x) {
  const bool byParagraphs = paragraphClicked_.Any();
  const Clicked& clicked = byParagraphs ? paragraphClicked_ : wordClicked_;
  if (!clicked.Any()) {
    setCursorPosition(position, true);
    return;
  }
  const int origin = std::min(clicked.from, clicked.to);
  const int originEnd = std::max(clicked.from, clicked.to);
  // Within the word or paragraph clicked first, that one stays selected.
  if (position >= origin && position <= originEnd) {
    Finish(originEnd, origin);
    return;
  }
  // Otherwise from the far end of that one to the edge of the paragraph,
  // or to the nearer edge of the word, where the point lies over the word.
  const bool backwards = position < originEnd;
  int edge = position;
  if (byParagraphs) {
    edge = backwards ? ParagraphStart(text_, position) : ParagraphEndWithBreak(position);
  } else {
    const auto [wordStart, wordEnd] =
        ParagraphCursor::Around(text_, position, [](ParagraphCursor& around) {
          QTextCursor& cursor = around.cursor();
          cursor.movePosition(QTextCursor::StartOfWord);
          const int start = around.ToText(cursor.position());
          cursor.movePosition(QTextCursor::EndOfWord);
          return std::pair{start, around.ToText(cursor.position())};
        });
    if (wordEnd == wordStart || lines_.LineOf(wordStart) != lines_.LineOf(wordEnd)) return;
    const qreal startX = XOf(wordStart);
    const qreal endX = XOf(wordEnd);
    if (x < std::min(startX, endX) || x > std::max(startX, endX)) return;
    edge = std::abs(x - startX) < std::abs(endX - x) ? wordStart : wordEnd;
  }
  Finish(edge, backwards ? originEnd : origin);
}

void LongTextBoxPrivate::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (mightDrag_) PlaceCursorByMouse(PositionAt(event->position()));
    mightDrag_ = false;
    SetSelectionToClipboard();
  } else if (event->button() == Qt::MiddleButton &&
             QApplication::clipboard()->supportsSelection()) {
    PlaceCursorByMouse(PositionAt(event->position()));
    InsertFromMimeData(QApplication::clipboard()->mimeData(QClipboard::Selection));
  }
}

void LongTextBoxPrivate::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int position = PositionAt(event->position());
  const int line = lines_.LineOf(position);
  const bool onText = lines_.LineEnd(line) > lines_.Start(line);
  paragraphClicked_ = {};
  wordClicked_ = ParagraphCursor::Around(text_, position, [&](ParagraphCursor& around) {
    QTextCursor& cursor = around.cursor();
    if (onText) cursor.select(QTextCursor::WordUnderCursor);
    return Clicked{around.ToText(cursor.anchor()), around.ToText(cursor.position())};
  });
  sinceDoubleClick_.start();
  doubleClickPoint_ = event->position();
  goalX_ = -1;
  Finish(wordClicked_.to, wordClicked_.from);
  SetSelectionToClipboard();
}

// Drag and drop ------------------------------------------------------------------

void LongTextBoxPrivate::StartDrag() {
  auto* data = new QMimeData;
  data->setText(selectedText());
  auto* drag = new QDrag(box_);
  drag->setMimeData(data);
  const Qt::DropAction action = drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
  // A move into this box removed the selection itself; a move elsewhere
  // leaves it to be removed here.
  if (action == Qt::MoveAction && drag->target() != viewport()) DeleteSelection();
}

namespace {

// Text dragged in from elsewhere is copied, never moved: the program rewrites
// these boxes, and a move would take the text from where it was for good.
void AcceptDrop(QDropEvent* event, const QObject* box) {
  if (event->source() == box || !(event->possibleActions() & Qt::CopyAction)) {
    event->acceptProposedAction();
  } else {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  }
}

}  // namespace

void LongTextBoxPrivate::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasText()) AcceptDrop(event, box_);
}

void LongTextBoxPrivate::dragMoveEvent(QDragMoveEvent* event) {
  if (!event->mimeData()->hasText()) return;
  dropCursor_ = PositionAt(event->position());
  viewport()->update();
  AcceptDrop(event, box_);
}

void LongTextBoxPrivate::dragLeaveEvent() {
  dropCursor_ = -1;
  viewport()->update();
}

void LongTextBoxPrivate::dropEvent(QDropEvent* event) {
  dropCursor_ = -1;
  if (!event->mimeData()->hasText()) return;
  // Moving within the box is one edit, undone at once.
  int target = PositionAt(event->position());
  history_.BeginEditBlock(target);
  if (event->dropAction() == Qt::MoveAction && event->source() == box_) {
    const int from = std::min(cursor_, anchor_);
    const int to = std::max(cursor_, anchor_);
    history_.Remove(SelectionStart(), SelectionEnd());
    if (target > from) target = std::max(from, target - (to - from));
  }
  const QString text = WithOtherBreaksAsLineFeeds(event->mimeData()->text());
  history_.InsertText(target, target, text);
  history_.EndEditBlock();
  EndEdit();
  goalX_ = -1;
  const int after = target + static_cast<int>(text.size());
  Finish(after, after);
  AcceptDrop(event, box_);
}

}  // namespace kelvaro
