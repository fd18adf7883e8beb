// The widget of a LongTextBox: it hands its operations and events to its
// LongTextBoxPrivate, and what the private part leaves to Qt's text box
// defaults.
#include "textbox/long_text_box.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "textbox/long_text_accessible.h"
#include "textbox/long_text_box_private.h"

namespace kelvaro {

LongTextBox::LongTextBox(QWidget* parent)
    : QAbstractScrollArea(parent),
      d_(std::make_unique<LongTextBoxPrivate>(this, [this] { updateMicroFocus(); })) {
  InstallLongTextAccessibility();
}

// The private part goes first, while the widget it works on is whole.
LongTextBox::~LongTextBox() { d_.reset(); }

void LongTextBox::setPlainText(const QString& text) { d_->setPlainText(text); }
void LongTextBox::setPlainTextStretch(int position, int removed, QStringView inserted) {
  d_->setPlainTextStretch(position, removed, inserted);
}
void LongTextBox::replaceAll(const QString& text) { d_->replaceAll(text); }
LongTextBox::Change LongTextBox::lastChange() const { return d_->lastChange(); }
bool LongTextBox::isModified() const { return d_->isModified(); }
const QString& LongTextBox::toPlainText() const { return d_->text(); }
int LongTextBox::cursorPosition() const { return d_->cursorPosition(); }
int LongTextBox::anchorPosition() const { return d_->anchorPosition(); }
void LongTextBox::setCursorPosition(int position, bool keepAnchor) {
  d_->setCursorPosition(position, keepAnchor);
}
QString LongTextBox::selectedText() const { return d_->selectedText(); }
void LongTextBox::SetFollowMark(int from, int to) { d_->SetFollowMark(from, to); }
QMenu* LongTextBox::createStandardContextMenu() { return d_->createStandardContextMenu(); }
QRect LongTextBox::cursorRect() const { return d_->cursorRect(); }

QVariant LongTextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (const auto answer = d_->inputMethodQuery(query)) return *answer;
  return QAbstractScrollArea::inputMethodQuery(query);
}

void LongTextBox::selectAll() { d_->selectAll(); }
void LongTextBox::undo() { d_->undo(); }
void LongTextBox::redo() { d_->redo(); }
void LongTextBox::cut() { d_->cut(); }
void LongTextBox::copy() const { d_->copy(); }
void LongTextBox::paste() { d_->paste(); }

bool LongTextBox::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride &&
      d_->TakesShortcut(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void LongTextBox::paintEvent(QPaintEvent*) { d_->paintEvent(); }

void LongTextBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  d_->resizeEvent();
}

void LongTextBox::scrollContentsBy(int, int) { d_->scrollContentsBy(); }

void LongTextBox::keyPressEvent(QKeyEvent* event) {
  if (!d_->keyPressEvent(event)) QAbstractScrollArea::keyPressEvent(event);
}

void LongTextBox::inputMethodEvent(QInputMethodEvent* event) { d_->inputMethodEvent(event); }
void LongTextBox::mousePressEvent(QMouseEvent* event) { d_->mousePressEvent(event); }
void LongTextBox::mouseMoveEvent(QMouseEvent* event) { d_->mouseMoveEvent(event); }
void LongTextBox::mouseReleaseEvent(QMouseEvent* event) { d_->mouseReleaseEvent(event); }
void LongTextBox::mouseDoubleClickEvent(QMouseEvent* event) { d_->mouseDoubleClickEvent(event); }
void LongTextBox::dragEnterEvent(QDragEnterEvent* event) { d_->dragEnterEvent(event); }
void LongTextBox::dragMoveEvent(QDragMoveEvent* event) { d_->dragMoveEvent(event); }
void LongTextBox::dragLeaveEvent(QDragLeaveEvent*) { d_->dragLeaveEvent(); }
void LongTextBox::dropEvent(QDropEvent* event) { d_->dropEvent(event); }

void LongTextBox::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  d_->focusInEvent();
}

void LongTextBox::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  d_->focusOutEvent();
}

void LongTextBox::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  d_->changeEvent(event);
}

void LongTextBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

}  // namespace kelvaro
