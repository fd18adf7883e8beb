#include "textbox/long_text_box_private.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "textbox/line_breaks.h"
#include "textbox/paragraph_cursor.h"
#include "textbox/paragraph_direction.h"

namespace kelvaro {
namespace {

// The follow mark's colour, a highlighter pen's yellow.
const QColor kFollowMarkColour(255, 226, 102);

// Moves a place in the text with a change of `change` code units at `at` (a
// removal when negative), as a text cursor's position and anchor move: text
// inserted where a place is goes before it.
void MoveWithChange(int& place, int at, int change) {
  if (place >= at) place = change < 0 && place < at - change ? at : place + change;
}

// The length of the common start of two texts.
int CommonPrefix(const QString& a, const QString& b) {
  const int common = static_cast<int>(std::min(a.size(), b.size()));
  if (a.constData() == b.constData()) return common;
  constexpr int kBlock = 64;
  int same = 0;
  while (same + kBlock <= common &&
         std::memcmp(a.constData() + same, b.constData() + same, kBlock * sizeof(QChar)) == 0) {
    same += kBlock;
  }
  while (same < common && a.at(same) == b.at(same)) ++same;
  return same;
}

// The length of the common end of two texts, not reaching into the first `skip`.
int CommonSuffix(const QString& a, const QString& b, int skip) {
  const int common = static_cast<int>(std::min(a.size(), b.size())) - skip;
  const QChar* endA = a.constData() + a.size();
  const QChar* endB = b.constData() + b.size();
  constexpr int kBlock = 64;
  int same = 0;
  while (same + kBlock <= common &&
         std::memcmp(endA - same - kBlock, endB - same - kBlock, kBlock * sizeof(QChar)) == 0) {
    same += kBlock;
  }
  while (same < common && endA[-same - 1] == endB[-same - 1]) ++same;
  return same;
}

}  // namespace

LongTextBoxPrivate::LongTextBoxPrivate(LongTextBox* box, std::function<void()> updateMicroFocus)
    : QObject(box),
      box_(box),
      updateMicroFocus_(std::move(updateMicroFocus)),
      history_(text_, [this](int position, const QString& removed, int added) {
        TextEdited(position, removed, added);
      }) {
  box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box_->setFocusPolicy(Qt::StrongFocus);
  box_->setAttribute(Qt::WA_InputMethodEnabled);
  box_->setInputMethodHints(Qt::ImhMultiLine);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  viewport()->setAcceptDrops(true);
  lines_.setFont(font());
  Rewrap();
}

LongTextBoxPrivate::~LongTextBoxPrivate() = default;

LongTextBoxPrivate& LongTextBoxPrivate::Of(const LongTextBox& box) {
  return *box.findChild<LongTextBoxPrivate*>(QString(), Qt::FindDirectChildrenOnly);
}

void LongTextBoxPrivate::setPlainText(const QString& text) {
  if (!preedit_.isEmpty()) {
    preedit_.clear();
    QGuiApplication::inputMethod()->reset();
  }
  TakeText(WithOtherBreaksAsLineFeeds(text), 0, 0);
  TextSet();
}

void LongTextBoxPrivate::setPlainTextStretch(int position, int removed, QStringView inserted) {
  const int size = static_cast<int>(text_.size());
  position = std::clamp(position, 0, size);
  removed = std::clamp(removed, 0, size - position);
  // A stretch with other breaks is set as a whole text is, which turns them
  // into line feeds.
  const bool plain = std::none_of(inserted.begin(), inserted.end(), IsOtherBreak);
  if (!preedit_.isEmpty() || !plain) {
    setPlainText(QString(text_).replace(position, removed, inserted.data(), inserted.size()));
    return;
  }
  cursor_ = anchor_ = 0;
  TakeStretch(position, removed, inserted);
  TextSet();
}

void LongTextBoxPrivate::TextSet() {
  history_.Clear();
  modified_ = false;
  wordClicked_ = paragraphClicked_ = {};
  lastDeletion_.reset();
  goalX_ = -1;
  verticalScrollBar()->setValue(0);
  CursorMoved();
  TakeChange();
  emit box_->textChanged();
}

void LongTextBoxPrivate::replaceAll(const QString& text) {
  history_.BeginEditBlock(cursor_);
  history_.Remove(0, static_cast<int>(text_.size()));
  history_.InsertText(0, 0, WithOtherBreaksAsLineFeeds(text));
  history_.EndEditBlock();
  EndEdit();
  // The cursor at the start, as when the program sets the text: the end of
  // a long text is found only by wrapping all of it.
  goalX_ = -1;
  Finish(0, 0);
}

bool LongTextBoxPrivate::TakeText(const QString& text, int cursor, int anchor) {
  cursor_ = cursor;
  anchor_ = anchor;
  const int prefix = CommonPrefix(text_, text);
  if (prefix == text_.size() && prefix == text.size()) {
    text_ = text;
    return false;
  }
  const int suffix = CommonSuffix(text_, text, prefix);
  const int oldSize = static_cast<int>(text_.size());
  const int newSize = static_cast<int>(text.size());
  if (QAccessible::isActive()) {
    changesToTell_.push_back({prefix, text_.mid(prefix, oldSize - suffix - prefix),
                              text.mid(prefix, newSize - suffix - prefix)});
  }
  text_ = text;
  TextReplaced(prefix, oldSize - suffix - prefix, newSize - suffix - prefix, oldSize);
  TextTaken();
  return true;
}

bool LongTextBoxPrivate::TakeStretch(int position, int removed, QStringView inserted) {
  if (QStringView(text_).sliced(position, removed) == inserted) return false;
  if (QAccessible::isActive())
    changesToTell_.push_back({position, text_.mid(position, removed), inserted.toString()});
  const int oldSize = static_cast<int>(text_.size());
  text_.replace(position, removed, inserted.data(), inserted.size());
  TextReplaced(position, removed, static_cast<int>(inserted.size()), oldSize);
  TextTaken();
  return true;
}

void LongTextBoxPrivate::TextReplaced(int position, int removed, int added, int oldSize) {
  // A paragraph start found for a line before the change still holds.
  if (knownLineStart_ >= position) knownLineStart_ = -1;
  lines_.Update(position, oldSize - position - removed, added - removed);
  // The tail that no change since the last signal reached.
  const int tail = static_cast<int>(text_.size()) - position - added;
  if (pendingChange_) {
    pendingChange_->start = std::min(pendingChange_->start, position);
    pendingChange_->tail = std::min(pendingChange_->tail, tail);
  } else {
    pendingChange_ = PendingChange{position, tail, oldSize};
  }
}

void LongTextBoxPrivate::TakeChange() {
  if (!pendingChange_) {
    lastChange_ = {};
    return;
  }
  const auto [start, tail, oldSize] = *std::exchange(pendingChange_, std::nullopt);
  const int size = static_cast<int>(text_.size());
  const int kept = std::min({tail, size - start, oldSize - start});
  lastChange_ = {start, oldSize - start - kept, size - start - kept};
}

void LongTextBoxPrivate::TextEdited(int position, const QString& removed, int added) {
  ++edits_;
  if (QAccessible::isActive())
    changesToTell_.push_back({position, removed, text_.mid(position, added)});
  const int removedSize = static_cast<int>(removed.size());
  TextReplaced(position, removedSize, added, static_cast<int>(text_.size()) - added + removedSize);
  // Every place in the text moves with the change as a text cursor would.
  for (int* place : {&cursor_, &anchor_, &wordClicked_.from, &wordClicked_.to,
                     &paragraphClicked_.from, &paragraphClicked_.to}) {
    if (removedSize > 0) MoveWithChange(*place, position, -removedSize);
    if (added > 0) MoveWithChange(*place, position, added);
  }
  // A CR that the change brought before a line feed.
  for (const int edge : {position, position + added}) {
    if (SplitsBreak(text_, edge)) joinedBreaks_.push_back(edge - 1);
  }
  textEdited_ = true;
}

void LongTextBoxPrivate::EndEdit() {
  // Two breaks stay two: the CR, which with the line feed would make one,
  // becomes a line feed itself, in the same undo step.
  // A CR before that one then meets a line feed in turn.
  for (int at : std::exchange(joinedBreaks_, {})) {
    for (; at >= 0 && SplitsBreak(text_, at + 1); --at) history_.ReplaceBreak(at, u'\n');
  }
  joinedBreaks_.clear();
}

void LongTextBoxPrivate::TextTaken() {
  UpdateExtraRows();
  UpdateScrollRange();
  viewport()->update();
  for (const auto& [position, removed, inserted] : std::exchange(changesToTell_, {})) {
    QAccessibleTextUpdateEvent changed(box_, position, removed, inserted);
    QAccessible::updateAccessibility(&changed);
  }
}

void LongTextBoxPrivate::Finish(int cursor, int anchor) {
  // The cursor is placed first, as showing the change may scroll, and an
  // input method then asks where the cursor is.
  cursor_ = cursor;
  anchor_ = anchor;
  const bool changed = std::exchange(textEdited_, false);
  if (changed) TextTaken();
  CursorMoved();
  if (changed) {
    modified_ = true;
    TakeChange();
    emit box_->textChanged();
  }
}

int LongTextBoxPrivate::Moved(QTextCursor::MoveOperation operation, bool select) const {
  switch (operation) {
    case QTextCursor::Start:
      return 0;
    case QTextCursor::End:
      return static_cast<int>(text_.size());
    case QTextCursor::StartOfBlock:
      return ParagraphStart(text_, cursor_);
    case QTextCursor::EndOfBlock:
      return ParagraphEnd(text_, cursor_);
    default:
      break;
  }
  // A character move that takes a selection away leaves the cursor at one
  // of its ends.
  const bool byCharacter = operation == QTextCursor::Left || operation == QTextCursor::Right ||
                           operation == QTextCursor::PreviousCharacter ||
                           operation == QTextCursor::NextCharacter;
  return ParagraphCursor::Around(text_, cursor_, anchor_, [&](ParagraphCursor& around) {
    QTextCursor& cursor = around.cursor();
    const int from = cursor.position();
    cursor.setVisualNavigation(true);
    // Within an edit block, so that the move lays out nothing.
    cursor.beginEditBlock();
    cursor.movePosition(operation, select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    cursor.endEditBlock();
    // The anchor may lie beyond the document: it is the box's own.
    if (byCharacter && !select && cursor_ != anchor_)
      return cursor.position() == from ? cursor_ : anchor_;
    return around.ToText(cursor.position());
  });
}

int LongTextBoxPrivate::ParagraphEndWithBreak(int position) const {
  const int end = ParagraphEnd(text_, position);
  return end < text_.size() ? end + BreakLength(text_, end) : end;
}

void LongTextBoxPrivate::InsertAtCursor(const QString& text) {
  history_.InsertText(SelectionStart(), SelectionEnd(), text);
  EndEdit();
}

void LongTextBoxPrivate::ReplaceText(int from, int to, const QString& text) {
  // As a text cursor over the stretch removes it and then inserts, two
  // edits; a stretch that ends between CR and LF takes the whole break.
  int start = std::min(from, to);
  int end = std::max(from, to);
  if (SplitsBreak(text_, start)) --start;
  if (SplitsBreak(text_, end)) ++end;
  history_.Remove(start, end);
  history_.InsertText(start, start, WithOtherBreaksAsLineFeeds(text));
  EndEdit();
  Finish();
}

void LongTextBoxPrivate::setCursorPosition(int position, bool keepAnchor) {
  cursor_ = std::clamp(position, 0, static_cast<int>(text_.size()));
  // Never between the CR and the LF of one break.
  if (SplitsBreak(text_, cursor_)) --cursor_;
  if (!keepAnchor) anchor_ = cursor_;
  goalX_ = -1;
  CursorMoved();
}

QString LongTextBoxPrivate::selectedText() const {
  return text_.mid(std::min(cursor_, anchor_), std::abs(cursor_ - anchor_));
}

void LongTextBoxPrivate::selectAll() {
  anchor_ = 0;
  cursor_ = static_cast<int>(text_.size());
  CursorMoved();
  SetSelectionToClipboard();
}

void LongTextBoxPrivate::undo() {
  const std::optional<int> at = history_.Undo();
  // An undo brings back what was: no breaks to keep apart.
  joinedBreaks_.clear();
  if (at) cursor_ = anchor_ = *at;
  Finish();
}

void LongTextBoxPrivate::redo() {
  const std::optional<int> at = history_.Redo();
  joinedBreaks_.clear();
  if (at) cursor_ = anchor_ = *at;
  Finish();
}

void LongTextBoxPrivate::copy() const {
  if (cursor_ != anchor_) QApplication::clipboard()->setText(selectedText());
}

void LongTextBoxPrivate::cut() {
  if (cursor_ == anchor_) return;
  copy();
  DeleteSelection();
}

void LongTextBoxPrivate::paste() { InsertFromMimeData(QApplication::clipboard()->mimeData()); }

void LongTextBoxPrivate::DeleteSelection() {
  history_.Remove(SelectionStart(), SelectionEnd());
  EndEdit();
  Finish();
}

void LongTextBoxPrivate::InsertFromMimeData(const QMimeData* data) {
  // Nothing to insert leaves the selection, as in a plain text edit.
  if (data == nullptr || !data->hasText() || data->text().isEmpty()) return;
  // As a fragment, as a plain text edit pastes: undo then puts the caret
  // where it does.
  history_.InsertFragment(SelectionStart(), SelectionEnd(),
                          WithOtherBreaksAsLineFeeds(data->text()));
  EndEdit();
  Finish();
}

void LongTextBoxPrivate::SetSelectionToClipboard() const {
  QClipboard* clipboard = QApplication::clipboard();
  if (cursor_ != anchor_ && clipboard->supportsSelection())
    clipboard->setText(selectedText(), QClipboard::Selection);
}

// Layout ------------------------------------------------------------------

const LineGrid& LongTextBoxPrivate::Grid() const {
  const int height = viewport()->height();
  const qreal ratio = viewport()->devicePixelRatioF();
  if (!grid_ || gridHeight_ != height || gridPixelRatio_ != ratio) {
    // Rows start below the top margin and may reach the bottom edge.
    grid_ = LineGrid::For(font(), height - kTextMargin, ratio);
    gridHeight_ = height;
    gridPixelRatio_ = ratio;
  }
  return *grid_;
}

qreal LongTextBoxPrivate::LineWidth() const {
  return std::max(1, viewport()->width() - 2 * kTextMargin);
}

qreal LongTextBoxPrivate::LineTop(int line) const {
  return kTextMargin + (RowOfLine(line) - verticalScrollBar()->value()) * Grid().pitch;
}

int LongTextBoxPrivate::RowOfLine(int line) const {
  return extraRows_ > 0 && line > lines_.LineOf(cursor_) ? line + extraRows_ : line;
}

int LongTextBoxPrivate::LineOfRow(int row) const {
  int line = std::max(0, row);
  if (extraRows_ > 0) {
    const int caretLine = lines_.LineOf(cursor_);
    if (line > caretLine) line = std::max(caretLine, line - extraRows_);
  }
  return lines_.HasLine(line) ? line : lines_.count() - 1;
}

int LongTextBoxPrivate::RowAt(int line, int layoutIndex) const {
  if (preedit_.isEmpty() || line != lines_.LineOf(cursor_)) return RowOfLine(line);
  const QTextLine row = LayOutLine(line)->lineForTextPosition(layoutIndex);
  return RowOfLine(line) + (row.isValid() ? row.lineNumber() : 0);
}

int LongTextBoxPrivate::FirstVisibleLine() const { return LineOfRow(verticalScrollBar()->value()); }

int LongTextBoxPrivate::LineAtY(qreal y) const {
  const qreal rows = std::floor((y - kTextMargin) / Grid().pitch);
  return LineOfRow(verticalScrollBar()->value() + static_cast<int>(rows));
}

int LongTextBoxPrivate::LayoutIndex(int line, int position) const {
  const int index = position - lines_.Start(line);
  const bool composing = !preedit_.isEmpty() && lines_.LineOf(cursor_) == line;
  return composing && position > cursor_ ? index + static_cast<int>(preedit_.size()) : index;
}

std::unique_ptr<QTextLayout> LongTextBoxPrivate::LayOutLine(int line) const {
  const int start = lines_.Start(line);
  const int end = lines_.LineEnd(line);
  auto layout = std::make_unique<QTextLayout>(text_.mid(start, end - start), font(), viewport());
  const bool composing = !preedit_.isEmpty() && lines_.LineOf(cursor_) == line;
  QTextOption option;
  // A line holds what fits; only the text being composed may make it wrap.
  option.setWrapMode(composing ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  // A right-to-left paragraph stands at the right, as a text document aligns it.
  const Qt::LayoutDirection direction = ParagraphDirection(line);
  option.setTextDirection(direction);
  if (direction == Qt::RightToLeft) option.setAlignment(Qt::AlignRight);
  layout->setTextOption(option);
  if (composing) {
    layout->setPreeditArea(cursor_ - start, preedit_);
    QList<QTextLayout::FormatRange> formats = preeditFormats_;
    for (auto& format : formats) format.start += cursor_ - start;
    layout->setFormats(formats);
  }
  layout->setCacheEnabled(true);
  layout->beginLayout();
  const LineGrid& grid = Grid();
  qreal top = 0;
  for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
    row.setLeadingIncluded(true);
    row.setLineWidth(LineWidth());
    // On the grid's baseline: the row's position is where its ascent starts.
    row.setPosition(QPointF(0, top + grid.baseline - row.ascent()));
    top += grid.pitch;
  }
  layout->endLayout();
  return layout;
}

int LongTextBoxPrivate::ParagraphStartOfLine(int lineStart) const {
  // Lines are asked for in order: the search back stops at the line asked for
  // last, whose paragraph is known.
  const bool known = knownLineStart_ >= 0 && knownLineStart_ <= lineStart;
  const int stop = known ? knownLineStart_ : 0;
  int paragraph = known ? knownParagraphStart_ : 0;
  for (int i = lineStart - 1; i >= stop; --i) {
    if (IsLineBreak(text_.at(i))) {
      paragraph = i + 1;
      break;
    }
  }
  knownLineStart_ = lineStart;
  knownParagraphStart_ = paragraph;
  return paragraph;
}

Qt::LayoutDirection LongTextBoxPrivate::ParagraphDirection(int line) const {
  // Looked for a bounded way into the paragraph, so that a line costs the
  // same wherever it stands; a paragraph without a strong letter so early
  // runs left to right.
  constexpr int kLookedAt = 4096;
  const int paragraph = ParagraphStartOfLine(lines_.Start(line));
  return kelvaro::ParagraphDirection(QStringView(text_).sliced(paragraph), kLookedAt);
}

void LongTextBoxPrivate::UpdateExtraRows() {
  extraRows_ = preedit_.isEmpty() ? 0 : LayOutLine(lines_.LineOf(cursor_))->lineCount() - 1;
}

int LongTextBoxPrivate::PositionAt(QPointF point, QTextLine::CursorPosition at) const {
  const int line = LineAtY(point.y());
  const auto layout = LayOutLine(line);
  const int rowInLine = static_cast<int>(std::floor((point.y() - LineTop(line)) / Grid().pitch));
  const QTextLine row = layout->lineAt(std::clamp(rowInLine, 0, layout->lineCount() - 1));
  int index = row.xToCursor(point.x() - kTextMargin, at);
  const int start = lines_.Start(line);
  if (lines_.LineOf(cursor_) == line && !preedit_.isEmpty()) {
    const int preeditAt = cursor_ - start;
    const int preeditLength = static_cast<int>(preedit_.size());
    if (index >= preeditAt + preeditLength) {
      index -= preeditLength;
    } else if (index > preeditAt) {
      index = preeditAt;
    }
  }
  int position = start + index;
  // As in a text layout, a point past a wrapped line's end lies before the
  // space that ended it, so the caret stays on that line.
  const int end = lines_.LineEnd(line);
  if (position == end && lines_.Wrapped(line) && end > start && text_.at(end - 1).isSpace()) {
    --position;
  }
  return position;
}

QRect LongTextBoxPrivate::cursorRect() const {
  const int line = lines_.LineOf(cursor_);
  const auto layout = LayOutLine(line);
  const int index = LayoutIndex(line, cursor_) + (preedit_.isEmpty() ? 0 : preeditCursor_);
  const QTextLine row = layout->lineForTextPosition(index);
  const qreal x = kTextMargin + row.cursorToX(index);
  const qreal pitch = Grid().pitch;
  return QRectF(x, LineTop(line) + row.lineNumber() * pitch, 1, pitch).toAlignedRect();
}

qreal LongTextBoxPrivate::XOf(int position) const {
  const int line = lines_.LineOf(position);
  const auto layout = LayOutLine(line);
  const int index = LayoutIndex(line, position);
  return kTextMargin + layout->lineForTextPosition(index).cursorToX(index);
}

QRect LongTextBoxPrivate::CharacterRect(int position) const {
  // The LF of a CR LF is drawn as one break with its CR.
  if (SplitsBreak(text_, position)) --position;
  const int line = lines_.LineOf(position);
  const auto layout = LayOutLine(line);
  const int index = LayoutIndex(line, position);
  const QTextLine row = layout->lineForTextPosition(index);
  // The box of its glyphs, which in text of mixed directions need not lie
  // between the carets before and after it. A character without glyphs (a
  // space that ends a line, a line feed) reaches to the caret after it, or
  // is a caret wide.
  QRectF box;
  const bool pair = text_.at(position).isHighSurrogate() && position + 1 < text_.size() &&
                    text_.at(position + 1).isLowSurrogate();
  for (const QGlyphRun& run : row.glyphRuns(index, pair ? 2 : 1)) box |= run.boundingRect();
  if (box.width() <= 0) {
    const qreal start = row.cursorToX(index);
    const qreal end = index < row.textStart() + row.textLength() ? row.cursorToX(index + 1) : start;
    box = QRectF(std::min(start, end), 0, std::max<qreal>(1, std::abs(end - start)), 0);
  }
  box.setTop(row.lineNumber() * Grid().pitch);
  box.setHeight(Grid().pitch);
  return box.translated(kTextMargin, LineTop(line)).toAlignedRect();
}

std::pair<int, int> LongTextBoxPrivate::LineBoundaries(int position) const {
  const int line = lines_.LineOf(position);
  const int start = lines_.Start(line);
  int end = lines_.LineEnd(line);
  if (lines_.Wrapped(line) && end > start && text_.at(end - 1).isSpace()) --end;
  return {start, end};
}

void LongTextBoxPrivate::Rewrap() {
  lines_.Reset(&text_, LineWidth());
  UpdateExtraRows();
  UpdateScrollRange();
}

void LongTextBoxPrivate::UpdateScrollRange() {
  // In whole rows, so that the top row is always whole, by the bar, the
  // wheel or the keys; the last page shows the last rows.
  const int rows = Grid().rows;
  QScrollBar* bar = verticalScrollBar();
  // The lines down to a page past the top are wrapped, so that the range of
  // a text that ends there is its own and not an estimate.
  lines_.HasLine(bar->value() + 2 * rows);
  bar->setPageStep(rows);
  bar->setSingleStep(1);
  bar->setRange(0, std::max(0, lines_.EstimatedCount() + extraRows_ - rows));
}

void LongTextBoxPrivate::EnsureCursorVisible() {
  const int line = lines_.LineOf(cursor_);
  EnsureRowVisible(
      RowAt(line, LayoutIndex(line, cursor_) + (preedit_.isEmpty() ? 0 : preeditCursor_)));
}

void LongTextBoxPrivate::ScrollTo(int position) {
  if (SplitsBreak(text_, position)) --position;
  const int line = lines_.LineOf(position);
  EnsureRowVisible(RowAt(line, LayoutIndex(line, position)));
}

void LongTextBoxPrivate::EnsureRowVisible(int row) {
  // Finding the row wrapped the lines up to it: the scroll range now
  // reaches it.
  UpdateScrollRange();
  // A hidden box has no final size yet: scrolling for it would leave the
  // text scrolled once the box is laid out and shown.
  if (!box_->isVisible()) return;
  QScrollBar* bar = verticalScrollBar();
  if (row < bar->value()) {
    bar->setValue(row);
  } else if (row >= bar->value() + Grid().rows) {
    bar->setValue(row - Grid().rows + 1);
  }
}

void LongTextBoxPrivate::CursorMoved() {
  pagingTop_.reset();
  EnsureCursorVisible();
  RestartBlink();
  viewport()->update();
  updateMicroFocus_();
  if (QAccessible::isActive()) {
    QAccessibleTextCursorEvent moved(box_, cursor_);
    QAccessible::updateAccessibility(&moved);
  }
}

void LongTextBoxPrivate::paintEvent() {
  QPainter painter(viewport());
  const int selectionFrom = std::min(cursor_, anchor_);
  const int selectionTo = std::max(cursor_, anchor_);
  const int caretLine = lines_.LineOf(cursor_);
  const bool caretShown = (caretShown_ && hasFocus() && preeditCursorShown_);
  // Only whole rows: nothing is drawn below the last row the viewport holds
  // whole, nor above the first (a line being composed may reach there).
  const LineGrid& grid = Grid();
  const qreal rowsBottom = kTextMargin + grid.rows * grid.pitch;
  painter.setClipRect(QRectF(0, kTextMargin, viewport()->width(), grid.rows * grid.pitch));
  const qreal ratio = viewport()->devicePixelRatioF();
  const QSize deviceLineSize(static_cast<int>(std::ceil(viewport()->width() * ratio)),
                             static_cast<int>(std::lround(grid.pitch * ratio)));
  pictures_.BeginPaint(deviceLineSize, ratio, palette().currentColorGroup());
  for (int line = FirstVisibleLine(); lines_.HasLine(line); ++line) {
    const qreal top = LineTop(line);
    if (top >= rowsBottom - 0.5 / ratio) break;
    const int start = lines_.Start(line);
    const int end = lines_.LineEnd(line);
    // The follow mark under the selection, each as a range of the line's layout.
    LinePictures::Line key{text_.mid(start, end - start), ParagraphDirection(line)};
    QList<QTextLayout::FormatRange> selections;
    if (markFrom_ < markTo_ && markFrom_ < end && markTo_ > start) {
      QTextLayout::FormatRange marked;
      marked.start = key.markStart = LayoutIndex(line, std::max(start, markFrom_));
      marked.length = key.markLength = LayoutIndex(line, std::min(end, markTo_)) - marked.start;
      marked.format.setBackground(kFollowMarkColour);
      selections << marked;
    }
    if (selectionFrom < selectionTo && selectionFrom <= end && selectionTo > start) {
      QTextLayout::FormatRange selected;
      selected.start = key.selectionStart = LayoutIndex(line, std::max(start, selectionFrom));
      selected.length = key.selectionLength =
          LayoutIndex(line, std::min(end, selectionTo)) - selected.start;
      selected.format.setBackground(palette().highlight());
      selected.format.setForeground(palette().highlightedText());
      selections << selected;
    }
    const QPointF origin(kTextMargin, top);
    const QTextLayout* layout = nullptr;
    std::unique_ptr<QTextLayout> composing;
    if (!preedit_.isEmpty() && line == caretLine) {
      // The line being composed may take several rows; it is drawn as it is.
      composing = LayOutLine(line);
      layout = composing.get();
      painter.save();
      painter.setClipRect(QRectF(0, top, viewport()->width(), layout->lineCount() * grid.pitch),
                          Qt::IntersectClip);
      painter.setPen(palette().text().color());
      layout->draw(&painter, origin, selections);
      painter.restore();
    } else {
      const auto& picture = pictures_.Get(key, [&] {
        LinePictures::Picture made{{}, QPixmap(deviceLineSize), LayOutLine(line)};
        made.pixmap.setDevicePixelRatio(ratio);
        QPainter linePainter(&made.pixmap);
        linePainter.fillRect(QRectF(QPointF(0, 0), deviceLineSize.toSizeF() / ratio),
                             palette().base());
        linePainter.setPen(palette().text().color());
        made.layout->draw(&linePainter, QPointF(kTextMargin, 0), selections);
        return made;
      });
      painter.drawPixmap(QPointF(0, top), picture.pixmap);
      layout = picture.layout.get();
    }
    if (line == caretLine && caretShown) {
      DrawCaret(painter, *layout, origin,
                LayoutIndex(line, cursor_) + (preedit_.isEmpty() ? 0 : preeditCursor_));
    }
    if (dropCursor_ >= 0 && lines_.LineOf(dropCursor_) == line)
      DrawCaret(painter, *layout, origin, LayoutIndex(line, dropCursor_));
  }
  pictures_.EndPaint();
}

void LongTextBoxPrivate::DrawCaret(QPainter& painter, const QTextLayout& layout, QPointF origin,
                                   int index) const {
  // A text layout's caret is as tall as the font's line, which may be
  // taller than a row of the grid.
  const QTextLine row = layout.lineForTextPosition(index);
  if (!row.isValid()) return;
  const qreal pitch = Grid().pitch;
  painter.fillRect(
      QRectF(origin.x() + row.cursorToX(index), origin.y() + row.lineNumber() * pitch, 1, pitch),
      palette().text());
}

void LongTextBoxPrivate::SetFollowMark(int from, int to) {
  from = std::clamp(from, 0, static_cast<int>(text_.size()));
  to = std::clamp(to, from, static_cast<int>(text_.size()));
  if (from == to) from = to = 0;
  if (from == markFrom_ && to == markTo_) return;
  markFrom_ = from;
  markTo_ = to;
  if (from < to) ScrollTo(from);
  viewport()->update();
}

void LongTextBoxPrivate::resizeEvent() {
  Rewrap();
  updateMicroFocus_();
}

void LongTextBoxPrivate::scrollContentsBy() {
  UpdateScrollRange();  // the lines come into view, and their number is better known
  viewport()->update();
  updateMicroFocus_();
}

void LongTextBoxPrivate::changeEvent(QEvent* event) {
  const auto type = event->type();
  if (type == QEvent::PaletteChange || type == QEvent::StyleChange || type == QEvent::FontChange)
    pictures_.Clear();
  if (type == QEvent::FontChange) {
    grid_.reset();
    lines_.setFont(font());
    Rewrap();
    viewport()->update();
  }
}

// Focus and caret -------------------------------------------------------------

void LongTextBoxPrivate::RestartBlink() {
  caretShown_ = true;
  const int interval = QApplication::styleHints()->cursorFlashTime() / 2;
  if (hasFocus() && interval > 0) blink_.start(interval, this);
}

void LongTextBoxPrivate::focusInEvent() {
  RestartBlink();
  viewport()->update();
}

void LongTextBoxPrivate::focusOutEvent() {
  blink_.stop();
  caretShown_ = false;
  viewport()->update();
}

void LongTextBoxPrivate::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blink_.timerId()) {
    QObject::timerEvent(event);
    return;
  }
  caretShown_ = !caretShown_;
  viewport()->update();
}

}  // namespace kelvaro
