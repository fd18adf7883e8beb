#include "textbox/long_text_accessible.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

#include "textbox/line_breaks.h"
#include "textbox/long_text_box.h"
#include "textbox/long_text_box_private.h"
#include "textbox/paragraph_cursor.h"

namespace kelvaro {
namespace {

// What a screen reader sees of a LongTextBox: an editable, multi-line text.
// It answers as a plain text edit's accessible text does, offsets outside
// the text included: such an offset leaves the caret where it is, and the
// answer is about the caret.
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
  void removeSelection(int index) override {
    if (index == 0) box()->setCursorPosition(box()->cursorPosition());
  }
  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    if (InText(start)) box()->setCursorPosition(start);
    if (InText(end)) box()->setCursorPosition(end, true);
  }
  int cursorPosition() const override { return box()->cursorPosition(); }
  void setCursorPosition(int position) override {
    if (InText(position)) box()->setCursorPosition(position);
  }
  QString text(int start, int end) const override {
    int from = box()->anchorPosition();
    int to = box()->cursorPosition();
    if (InText(start)) from = to = start;
    if (InText(end)) to = end;
    return box()->toPlainText().mid(std::min(from, to), std::abs(to - from));
  }
  int characterCount() const override { return static_cast<int>(box()->toPlainText().size()); }

  // Lines are the wrapped lines as shown, so that reading line by line
  // follows the screen.
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                       int* end) const override {
    return Item(Boundaries(InText(offset) ? offset : box()->cursorPosition(), type), start, end);
  }
  // Before the first item and after the last there is none (-1); after an
  // item that ends at a line feed comes the item after the line feed. A
  // plain text edit gives the same item again in each case.
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                           int* end) const override {
    const int at = InText(offset) ? offset : box()->cursorPosition();
    const auto item = Boundaries(at, type);
    const auto before = Boundaries(InText(item.first - 1) ? item.first - 1 : at, type);
    return Item(before == item ? kNone : before, start, end);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                          int* end) const override {
    const int at = InText(offset) ? offset : box()->cursorPosition();
    const auto item = Boundaries(at, type);
    auto after = Boundaries(InText(item.second) ? item.second : at, type);
    if (after == item && InText(item.second + 1)) after = Boundaries(item.second + 1, type);
    return Item(after == item ? kNone : after, start, end);
  }

  QRect characterRect(int offset) const override {
    if (offset < 0 || offset >= characterCount()) return QRect();
    const QRect rect = d().CharacterRect(offset);
    return QRect(box()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
  }
  // The character under the point. Where directions mix, a text layout's
  // answer can be a character or two off; the one whose box holds the
  // point is taken from those around it.
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint inViewport = box()->viewport()->mapFromGlobal(point);
    if (!box()->viewport()->rect().contains(inViewport)) return -1;
    const int found = d().PositionAt(inViewport, QTextLine::CursorOnCharacter);
    for (const int near : {found, found - 1, found + 1, found - 2, found + 2}) {
      if (near >= 0 && near < characterCount() && d().CharacterRect(near).contains(inViewport))
        return near;
    }
    return found;
  }
  void scrollToSubstring(int start, int) override {
    if (InText(start)) d().ScrollTo(start);
  }
  // One run of the box's font a paragraph; the line feed that ends a
  // paragraph is a run of its own.
  QString attributes(int offset, int* start, int* end) const override {
    const int count = characterCount();
    if (offset == -2) offset = cursorPosition();
    if (offset == -1 || offset == count) offset = count - 1;
    if (offset < 0 || offset > count) {
      *start = *end = -1;
      return QString();
    }
    const QString& text = box()->toPlainText();
    // A CR LF is one run, both halves of it.
    if (SplitsBreak(text, offset)) --offset;
    const int paragraphStart = ParagraphStart(text, offset);
    const int paragraphEnd = ParagraphEnd(text, offset);
    if (offset < paragraphEnd) {
      *start = paragraphStart;
      *end = paragraphEnd;
    } else {
      *start = paragraphEnd;
      *end = paragraphEnd + (paragraphEnd < count ? BreakLength(text, paragraphEnd) : 1);
    }
    const QFont font = box()->font();
    return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-style:%3;font-weight:%4;")
        .arg(font.family())
        .arg(font.pointSize())
        .arg(font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"))
        .arg(font.weight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal"));
  }

  // Editing, where a plain text edit edits: at the offsets that lie in the
  // text, else at the caret. The caret stays where it was in the text.
  void deleteText(int start, int end) override { replaceText(start, end, QString()); }
  void insertText(int offset, const QString& text) override {
    if (InText(offset)) {
      d().ReplaceText(offset, offset, text);
    } else {
      d().ReplaceText(box()->anchorPosition(), box()->cursorPosition(), text);
    }
  }
  void replaceText(int start, int end, const QString& text) override {
    int from = box()->anchorPosition();
    int to = box()->cursorPosition();
    if (InText(start)) from = to = start;
    if (InText(end)) to = end;
    d().ReplaceText(from, to, text);
  }

 private:
  LongTextBox* box() const { return static_cast<LongTextBox*>(widget()); }
  LongTextBoxPrivate& d() const { return LongTextBoxPrivate::Of(*box()); }
  bool InText(int offset) const { return offset >= 0 && offset <= characterCount(); }

  // Where the item of a kind that holds a position starts and ends.
  std::pair<int, int> Boundaries(int position, QAccessible::TextBoundaryType type) const {
    if (type == QAccessible::LineBoundary) return d().LineBoundaries(position);
    if (type == QAccessible::NoBoundary) return {0, characterCount()};
    // Never between the CR and the LF of one break.
    const QString& text = box()->toPlainText();
    if (SplitsBreak(text, position)) --position;
    if (type == QAccessible::ParagraphBoundary)
      return {ParagraphStart(text, position), ParagraphEnd(text, position)};
    return ParagraphCursor::Around(text, position, [type](ParagraphCursor& around) {
      QTextCursor& cursor = around.cursor();
      // Within an edit block, so that moving the cursor lays out nothing.
      cursor.beginEditBlock();
      const auto [first, second] = QAccessible::qAccessibleTextBoundaryHelper(cursor, type);
      cursor.endEditBlock();
      return std::pair{around.ToText(first), around.ToText(second)};
    });
  }

  static constexpr std::pair<int, int> kNone{-1, -1};

  QString Item(std::pair<int, int> boundaries, int* start, int* end) const {
    *start = boundaries.first;
    *end = boundaries.second;
    if (boundaries == kNone) return QString();
    return box()->toPlainText().mid(*start, *end - *start);
  }
};

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
