// How a LongTextBox talks to input methods, as a plain text edit does: the
// text being composed is shown at the cursor, commits may replace text
// around it, and positions are told within the cursor's paragraph.
#include <QInputMethodEvent>
#include <algorithm>

#include "textbox/line_breaks.h"
#include "textbox/long_text_box_private.h"

namespace kelvaro {
namespace {

constexpr int kContextLength = 1024;  // text before and after the cursor an input method gets

}  // namespace

void LongTextBoxPrivate::inputMethodEvent(QInputMethodEvent* event) {
  const bool gettingInput = !event->commitString().isEmpty() ||
                            event->preeditString() != preedit_ || event->replacementLength() > 0;
  if (!gettingInput && event->attributes().isEmpty()) {
    event->ignore();
    return;
  }
  history_.BeginEditBlock(cursor_);
  if (gettingInput) history_.Remove(SelectionStart(), SelectionEnd());
  if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
    // A place outside the text leaves the replaced stretch where it was, as
    // a text cursor does.
    const auto inText = [&](int at) { return at >= 0 && at <= text_.size(); };
    int from = cursor_;
    if (inText(cursor_ + event->replacementStart())) from = cursor_ + event->replacementStart();
    int to = from;
    if (inText(from + event->replacementLength())) to = from + event->replacementLength();
    // A stretch that ends between CR and LF takes the whole break.
    if (SplitsBreak(text_, from)) --from;
    if (SplitsBreak(text_, to)) ++to;
    history_.InsertText(from, to, WithOtherBreaksAsLineFeeds(event->commitString()));
  }
  history_.EndEditBlock();
  EndEdit();
  // Selections are given within the paragraph, as the surrounding text is.
  int cursor = cursor_;
  int anchor = anchor_;
  const int paragraphStart = ParagraphStart(text_, cursor_);
  for (const auto& attribute : event->attributes()) {
    if (attribute.type != QInputMethodEvent::Selection) continue;
    const auto place = [&](int at) {
      at = std::clamp(at, 0, static_cast<int>(text_.size()));
      return SplitsBreak(text_, at) ? at - 1 : at;
    };
    anchor = place(paragraphStart + attribute.start);
    cursor = place(paragraphStart + attribute.start + attribute.length);
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
  Finish(cursor, anchor);
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
      const int end = ParagraphEnd(text_, cursor_);
      return start == 0 && end == text_.size() ? text_ : text_.mid(start, end - start);
    }
    case Qt::ImCurrentSelection: {
      // With a paragraph separator for each break, as a text document gives it.
      QString selected = WithBreaksAsLineFeeds(selectedText());
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
      while (cursor_ - from < kContextLength && from > 0)
        from = ParagraphStart(text_, BreakBefore(text_, from));
      return text_.mid(from, cursor_ - from);
    }
    case Qt::ImTextAfterCursor: {
      // The rest of the cursor's paragraph, then whole paragraphs after it,
      // until there are 1024 characters.
      int to = ParagraphEnd(text_, cursor_);
      while (to - cursor_ < kContextLength && to < text_.size())
        to = ParagraphEnd(text_, to + BreakLength(text_, to));
      return text_.mid(cursor_, to - cursor_);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace kelvaro
