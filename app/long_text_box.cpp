#include "app/long_text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>
#include <memory>

namespace kelvaro {
namespace {

constexpr int kMargin = 4;

bool IsHighSurrogate(QChar c) { return c.isHighSurrogate(); }

// A line may break after a space or a line feed, and before or after a
// Chinese character.
bool BreaksAfter(QChar c) { return c == u' ' || c.unicode() >= 0x2E80; }
bool BreaksBefore(QChar c) { return c.unicode() >= 0x2E80 && !c.isLowSurrogate(); }

}  // namespace

LongTextBox::LongTextBox(QWidget* parent) : QAbstractScrollArea(parent) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
}

void LongTextBox::setPlainText(const QString& text) {
  text_ = text;
  cursor_ = anchor_ = 0;
  Relayout();
  verticalScrollBar()->setValue(0);
  viewport()->update();
  emit textChanged();
}

void LongTextBox::setCursorPosition(int position, bool keepAnchor) {
  cursor_ = std::clamp(position, 0, static_cast<int>(text_.size()));
  if (!keepAnchor) anchor_ = cursor_;
  EnsureCursorVisible();
  RestartBlink();
  viewport()->update();
}

QString LongTextBox::selectedText() const {
  const int from = std::min(cursor_, anchor_);
  return text_.mid(from, std::abs(cursor_ - anchor_));
}

void LongTextBox::selectAll() {
  anchor_ = 0;
  cursor_ = static_cast<int>(text_.size());
  viewport()->update();
}

qreal LongTextBox::Advance(int position) const {
  const QChar c = text_.at(position);
  if (c.isSurrogate()) {
    // A pair is measured whole, on its high half; the low half takes no room.
    if (c.isLowSurrogate()) return 0;
    return QFontMetricsF(font()).horizontalAdvance(text_.mid(position, 2));
  }
  if (advanceCache_.empty()) advanceCache_.assign(0x10000, -1.0f);
  float& cached = advanceCache_[c.unicode()];
  if (cached < 0) cached = static_cast<float>(QFontMetricsF(font()).horizontalAdvance(c));
  return cached;
}

void LongTextBox::Relayout() {
  lineStarts_.assign(1, 0);
  const qreal width = std::max(1, viewport()->width() - 2 * kMargin);
  qreal x = 0;
  int lastBreak = -1;  // a position where the current line may end
  const int size = static_cast<int>(text_.size());
  for (int i = 0; i < size; ++i) {
    const QChar c = text_.at(i);
    if (c == u'\n') {
      lineStarts_.push_back(i + 1);
      x = 0;
      lastBreak = -1;
      continue;
    }
    if (BreaksBefore(c) && i > lineStarts_.back()) lastBreak = i;
    const qreal advance = Advance(i);
    if (x + advance > width && c != u' ' && i > lineStarts_.back()) {
      const int start = lastBreak > lineStarts_.back() ? lastBreak : i;
      lineStarts_.push_back(start);
      x = 0;
      for (int k = start; k < i; ++k) x += Advance(k);
      lastBreak = -1;
    }
    x += advance;
    if (BreaksAfter(c) && !IsHighSurrogate(c)) lastBreak = i + 1;
  }
  const int lineHeight = LineHeight();
  const int lines = static_cast<int>(lineStarts_.size());
  verticalScrollBar()->setPageStep(std::max(1, viewport()->height()));
  verticalScrollBar()->setSingleStep(lineHeight);
  verticalScrollBar()->setRange(
      0, std::max(0, lines * lineHeight + 2 * kMargin - viewport()->height()));
}

int LongTextBox::LineHeight() const { return QFontMetrics(font()).lineSpacing(); }

int LongTextBox::LineOf(int position) const {
  const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
  return static_cast<int>(after - lineStarts_.begin()) - 1;
}

int LongTextBox::LineEnd(int line) const {
  const int next = line + 1 < static_cast<int>(lineStarts_.size()) ? lineStarts_[line + 1]
                                                                   : static_cast<int>(text_.size());
  // A line ended by a line feed ends before it.
  return next > lineStarts_[line] && next <= text_.size() && text_.at(next - 1) == u'\n' ? next - 1
                                                                                         : next;
}

qreal LongTextBox::XInLine(int line, int position) const {
  qreal x = 0;
  for (int i = lineStarts_[line]; i < position; ++i) x += Advance(i);
  return x;
}

qreal LongTextBox::XOf(int position) const { return XInLine(LineOf(position), position); }

int LongTextBox::PositionAt(QPoint point) const {
  const int y = point.y() + verticalScrollBar()->value() - kMargin;
  const int line = std::clamp(y / LineHeight(), 0, static_cast<int>(lineStarts_.size()) - 1);
  const int end = LineEnd(line);
  qreal x = kMargin;
  for (int i = lineStarts_[line]; i < end; ++i) {
    const qreal advance = Advance(i);
    if (point.x() < x + advance / 2) return i;
    x += advance;
  }
  return end;
}

void LongTextBox::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setFont(font());
  const int lineHeight = LineHeight();
  const int top = verticalScrollBar()->value();
  const int first = std::max(0, (top - kMargin) / lineHeight);
  const int last = std::min(static_cast<int>(lineStarts_.size()) - 1,
                            (top + viewport()->height() - kMargin) / lineHeight);
  const QFontMetricsF metrics(font());
  const int selectionFrom = std::min(cursor_, anchor_);
  const int selectionTo = std::max(cursor_, anchor_);
  for (int line = first; line <= last; ++line) {
    const int start = lineStarts_[line];
    const int end = LineEnd(line);
    const qreal y = kMargin + line * lineHeight - top;
    const QString shown = text_.mid(start, end - start);
    const QPointF baseline(kMargin, y + metrics.ascent());
    painter.setPen(palette().text().color());
    painter.drawText(baseline, shown);
    if (selectionFrom < selectionTo && selectionFrom <= end && selectionTo >= start) {
      const qreal x0 = kMargin + XInLine(line, std::max(start, selectionFrom));
      const qreal x1 = kMargin + XInLine(line, std::min(end, selectionTo));
      const QRectF selected(x0, y, x1 - x0, lineHeight);
      painter.fillRect(selected, palette().highlight());
      painter.save();
      painter.setClipRect(selected);
      painter.setPen(palette().highlightedText().color());
      painter.drawText(baseline, shown);
      painter.restore();
    }
  }
  if (caretShown_ && hasFocus()) {
    const int line = LineOf(cursor_);
    const qreal y = kMargin + line * lineHeight - top;
    painter.fillRect(QRectF(kMargin + XOf(cursor_), y, 1, lineHeight), palette().text());
  }
}

void LongTextBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void LongTextBox::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    advanceCache_.clear();
    Relayout();
  }
}

void LongTextBox::Replace(int from, int to, const QString& with) {
  text_.replace(from, to - from, with);
  cursor_ = anchor_ = from + static_cast<int>(with.size());
  Relayout();
  EnsureCursorVisible();
  RestartBlink();
  viewport()->update();
  emit textChanged();
}

void LongTextBox::InsertAtCursor(const QString& with) {
  Replace(std::min(cursor_, anchor_), std::max(cursor_, anchor_), with);
}

void LongTextBox::Copy() const {
  if (cursor_ != anchor_) QApplication::clipboard()->setText(selectedText());
}

QMenu* LongTextBox::createStandardContextMenu() {
  auto* menu = new QMenu(this);
  const bool selected = cursor_ != anchor_;
  menu->addAction(QStringLiteral("剪切"), this,
                  [this] {
                    Copy();
                    InsertAtCursor(QString());
                  })
      ->setEnabled(selected);
  menu->addAction(QStringLiteral("复制"), this, [this] { Copy(); })->setEnabled(selected);
  menu->addAction(QStringLiteral("粘贴"), this,
                  [this] { InsertAtCursor(QApplication::clipboard()->text()); });
  menu->addSeparator();
  menu->addAction(QStringLiteral("全选"), this, [this] { selectAll(); });
  return menu;
}

void LongTextBox::contextMenuEvent(QContextMenuEvent* event) {
  const std::unique_ptr<QMenu> menu(createStandardContextMenu());
  menu->exec(event->globalPos());
}

void LongTextBox::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const int size = static_cast<int>(text_.size());
  auto step = [&](int position, int direction) {
    position += direction;
    if (position > 0 && position < size && text_.at(position).isLowSurrogate())
      position += direction;
    return std::clamp(position, 0, size);
  };
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else if (event->matches(QKeySequence::Copy)) {
    Copy();
  } else if (event->matches(QKeySequence::Cut)) {
    if (cursor_ != anchor_) {
      Copy();
      InsertAtCursor(QString());
    }
  } else if (event->matches(QKeySequence::Paste)) {
    InsertAtCursor(QApplication::clipboard()->text());
  } else if (event->key() == Qt::Key_Backspace) {
    if (cursor_ != anchor_) {
      InsertAtCursor(QString());
    } else if (cursor_ > 0) {
      Replace(step(cursor_, -1), cursor_, QString());
    }
  } else if (event->key() == Qt::Key_Delete) {
    if (cursor_ != anchor_) {
      InsertAtCursor(QString());
    } else if (cursor_ < size) {
      Replace(cursor_, step(cursor_, 1), QString());
    }
  } else if (event->key() == Qt::Key_Left) {
    setCursorPosition(step(cursor_, -1), shift);
  } else if (event->key() == Qt::Key_Right) {
    setCursorPosition(step(cursor_, 1), shift);
  } else if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    const int line = LineOf(cursor_) + (event->key() == Qt::Key_Up ? -1 : 1);
    if (line < 0) {
      setCursorPosition(0, shift);
    } else if (line >= static_cast<int>(lineStarts_.size())) {
      setCursorPosition(size, shift);
    } else {
      const qreal x = XOf(cursor_);
      const QPoint point(static_cast<int>(kMargin + x),
                         kMargin + line * LineHeight() - verticalScrollBar()->value());
      setCursorPosition(PositionAt(point), shift);
    }
  } else if (event->key() == Qt::Key_Home) {
    setCursorPosition(event->modifiers() & Qt::ControlModifier ? 0 : lineStarts_[LineOf(cursor_)],
                      shift);
  } else if (event->key() == Qt::Key_End) {
    setCursorPosition(event->modifiers() & Qt::ControlModifier ? size : LineEnd(LineOf(cursor_)),
                      shift);
  } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    InsertAtCursor(QStringLiteral("\n"));
  } else if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
    InsertAtCursor(event->text());
  } else {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  event->accept();
}

void LongTextBox::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) InsertAtCursor(event->commitString());
  event->accept();
}

QVariant LongTextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return true;
    case Qt::ImCursorRectangle: {
      const int y = kMargin + LineOf(cursor_) * LineHeight() - verticalScrollBar()->value();
      return QRect(static_cast<int>(kMargin + XOf(cursor_)), y, 1, LineHeight())
          .translated(viewport()->pos());
    }
    case Qt::ImCursorPosition:
      return cursor_;
    case Qt::ImSurroundingText:
      return text_.mid(lineStarts_[LineOf(cursor_)],
                       LineEnd(LineOf(cursor_)) - lineStarts_[LineOf(cursor_)]);
    case Qt::ImFont:
      return font();
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

void LongTextBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    setCursorPosition(PositionAt(event->position().toPoint()),
                      event->modifiers() & Qt::ShiftModifier);
  }
}

void LongTextBox::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton)
    setCursorPosition(PositionAt(event->position().toPoint()), true);
}

void LongTextBox::EnsureCursorVisible() {
  const int lineHeight = LineHeight();
  const int y = kMargin + LineOf(cursor_) * lineHeight;
  QScrollBar* bar = verticalScrollBar();
  if (y < bar->value()) {
    bar->setValue(y - kMargin);
  } else if (y + lineHeight > bar->value() + viewport()->height()) {
    bar->setValue(y + lineHeight + kMargin - viewport()->height());
  }
}

void LongTextBox::RestartBlink() {
  caretShown_ = true;
  const int interval = QApplication::styleHints()->cursorFlashTime() / 2;
  if (hasFocus() && interval > 0) blink_.start(interval, this);
}

void LongTextBox::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RestartBlink();
  viewport()->update();
}

void LongTextBox::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  blink_.stop();
  caretShown_ = false;
  viewport()->update();
}

void LongTextBox::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blink_.timerId()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  caretShown_ = !caretShown_;
  viewport()->update();
}

}  // namespace kelvaro
