// How a LongTextBox talks to input methods, as a plain text edit does: the
// text being composed is shown at the cursor, commits may replace text
// around it, and positions are told within the cursor's paragraph.
#include <QInputMethodEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "textbox/long_text_box_private.h"

namespace kelvaro {
namespace {

constexpr int kContextLength = 1024;  // text before and after the cursor an input method gets

// Where the paragraph that holds a position starts.
int ParagraphStart(const QString& text, int position) {
  // lastIndexOf from -1 would search from the text's end.
  return position == 0 ? 0 : static_cast<int>(text.lastIndexOf(u'\n', position - 1)) + 1;
}

}  // namespace

void LongTextBoxPrivate::inputMethodEvent(QInputMethodEvent* event) {
  const bool gettingInput = !event->commitString().isEmpty() ||
                            event->preeditString() != preedit_ || event->replacementLength() > 0;
  if (!gettingInput && event->attributes().isEmpty()) {
    event->ignore();
    return;
  }
  QTextCursor cursor = DocumentCursor();
  cursor.beginEditBlock();
  if (gettingInput) cursor.removeSelectedText();
  if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
    QTextCursor replaced = cursor;
    replaced.setPosition(cursor.position() + event->replacementStart());
    replaced.setPosition(replaced.position() + event->replacementLength(), QTextCursor::KeepAnchor);
    replaced.insertText(event->commitString());
  }
  cursor.endEditBlock();
  // Selections are given within the paragraph, as the surrounding text is.
  const int paragraphStart = cursor.block().position();
  for (const auto& attribute : event->attributes()) {
    if (attribute.type != QInputMethodEvent::Selection) continue;
    cursor.setPosition(paragraphStart + attribute.start);
    cursor.setPosition(paragraphStart + attribute.start + attribute.length,
                       QTextCursor::KeepAnchor);
  }
  if (gettingInput) preedit_ = event->preeditString();
  preeditCursor_ = static_cast<int>(preedit_.size());
  preeditCursorShown_ = true;
  preeditFormats_.clear();
  for (const auto& attribute : event->attributes()) {
    if (attribute.type == QInputMethodEvent::Cursor) {
      preeditCursor_ = attribute.start;
      preeditCursorShown_ = attribute.length != 0;
    } else if (attribute.type == QInputMethodEvent::TextFormat) {
      const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
      if (format.isValid()) preeditFormats_.append({attribute.start, attribute.length, format});
    }
  }
  if (preeditFormats_.isEmpty() && !preedit_.isEmpty()) {
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    preeditFormats_.append({0, static_cast<int>(preedit_.size()), underlined});
  }
  goalX_ = -1;
  Apply(cursor);
  UpdateExtraRows();
  EnsureCursorVisible();
  event->accept();
}

std::optional<QVariant> LongTextBoxPrivate::inputMethodQuery(Qt::InputMethodQuery query) const {
  // Positions are within the paragraph that holds the cursor, as the
  // surrounding text is that paragraph.
  // Worked out only when asked: a paragraph can be long, and most queries
  // (whether input is enabled, its hints) do not need it.
  const auto paragraphStart = [this] { return ParagraphStart(text_, cursor_); };
  switch (query) {
    case Qt::ImEnabled:
      return box_->isEnabled();
    case Qt::ImHints:
      return QVariant(static_cast<int>(box_->inputMethodHints()));
    case Qt::ImCursorRectangle:
      return QRectF(cursorRect().translated(viewport()->pos()));
    case Qt::ImAnchorRectangle: {
      if (anchor_ == cursor_) return inputMethodQuery(Qt::ImCursorRectangle);
      const QRect character = CharacterRect(anchor_);
      return QRectF(
          QRect(character.topLeft(), QSize(1, character.height())).translated(viewport()->pos()));
    }
    case Qt::ImFont:
      return font();
    case Qt::ImCursorPosition:
      return cursor_ - paragraphStart();
    case Qt::ImAnchorPosition:
      return anchor_ - paragraphStart();
    case Qt::ImAbsolutePosition:
      return cursor_;
    case Qt::ImSurroundingText: {
      const int start = paragraphStart();
      const auto end = text_.indexOf(u'\n', cursor_);
      return start == 0 && end < 0 ? text_ : text_.mid(start, end < 0 ? -1 : end - start);
    }
    case Qt::ImCurrentSelection: {
      // With paragraph separators for line feeds, as a text document gives it.
      QString selected = selectedText();
      selected.replace(u'\n', QChar::ParagraphSeparator);
      return selected;
    }
    case Qt::ImMaximumTextLength:
      return QVariant();
    case Qt::ImReadOnly:
      return false;
    case Qt::ImTextBeforeCursor: {
      // Whole paragraphs before the cursor's, until there are 1024 characters.
      int from = paragraphStart();
      while (cursor_ - from < kContextLength && from > 0) from = ParagraphStart(text_, from - 1);
      return text_.mid(from, cursor_ - from);
    }
    case Qt::ImTextAfterCursor: {
      // The rest of the cursor's paragraph, then whole paragraphs after it,
      // until there are 1024 characters.
      const auto paragraphEnd = [this](int from) {
        const auto end = text_.indexOf(u'\n', from);
        return end < 0 ? static_cast<int>(text_.size()) : static_cast<int>(end);
      };
      int to = paragraphEnd(cursor_);
      while (to - cursor_ < kContextLength && to < text_.size()) to = paragraphEnd(to + 1);
      return text_.mid(cursor_, to - cursor_);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace kelvaro
