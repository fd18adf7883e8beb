#include "app/long_text_accessible.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "app/long_text_box.h"

namespace kelvaro {

// What a screen reader sees of a LongTextBox: an editable, multi-line text.
class LongTextAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
 public:
  explicit LongTextAccessible(LongTextBox* box)
      : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
      return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text type) const override {
    return type == QAccessible::Value ? box()->toPlainText() : QAccessibleWidget::text(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
  }

  // Text.
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || box()->cursorPosition() == box()->anchorPosition()) return;
    *start = std::min(box()->cursorPosition(), box()->anchorPosition());
    *end = std::max(box()->cursorPosition(), box()->anchorPosition());
  }
  int selectionCount() const override {
    return box()->cursorPosition() != box()->anchorPosition() ? 1 : 0;
  }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { box()->setCursorPosition(box()->cursorPosition()); }
  void setSelection(int, int start, int end) override {
    box()->setCursorPosition(start);
    box()->setCursorPosition(end, true);
  }
  int cursorPosition() const override { return box()->cursorPosition(); }
  void setCursorPosition(int position) override { box()->setCursorPosition(position); }
  QString text(int start, int end) const override {
    return box()->toPlainText().mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(box()->toPlainText().size()); }
  // Lines are the wrapped lines as shown, so that reading line by line
  // follows the screen; other boundaries are the standard ones.
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                       int* end) const override {
    if (type != QAccessible::LineBoundary)
      return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
    return Line(LineOf(offset), start, end);
  }
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                           int* end) const override {
    if (type != QAccessible::LineBoundary)
      return QAccessibleTextInterface::textBeforeOffset(offset, type, start, end);
    return Line(LineOf(offset) - 1, start, end);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                          int* end) const override {
    if (type != QAccessible::LineBoundary)
      return QAccessibleTextInterface::textAfterOffset(offset, type, start, end);
    return Line(LineOf(offset) + 1, start, end);
  }
  QRect characterRect(int offset) const override {
    const QRect rect = box()->CharacterRect(offset);
    return QRect(box()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    return box()->PositionAt(box()->viewport()->mapFromGlobal(point));
  }
  void scrollToSubstring(int start, int) override { box()->setCursorPosition(start); }
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return QString();
  }

  // Editing.
  void deleteText(int start, int end) override { replaceText(start, end, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    LongTextBox* self = box();
    QTextCursor cursor(&self->Document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(text);
    self->Apply(cursor);
  }

 private:
  LongTextBox* box() const { return static_cast<LongTextBox*>(widget()); }
  int LineOf(int offset) const {
    return box()->lines_.LineOf(std::clamp(offset, 0, characterCount()));
  }
  // A line's text as a plain text edit gives it: without the line feed
  // that ends it, or the space a wrapped line ends with; none (-1) past the
  // first or last line.
  QString Line(int line, int* start, int* end) const {
    WrappedLines& lines = box()->lines_;
    if (line < 0 || !lines.HasLine(line)) {
      *start = *end = -1;
      return QString();
    }
    *start = lines.Start(line);
    *end = lines.LineEnd(line);
    if (lines.Wrapped(line) && *end > *start && box()->toPlainText().at(*end - 1).isSpace()) --*end;
    return text(*start, *end);
  }
};

namespace {

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String(LongTextBox::staticMetaObject.className()) && object != nullptr)
    return new LongTextAccessible(static_cast<LongTextBox*>(object));
  return nullptr;
}

}  // namespace

void InstallLongTextAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(MakeAccessible);
    return true;
  }();
  (void)installed;
}

}  // namespace kelvaro
