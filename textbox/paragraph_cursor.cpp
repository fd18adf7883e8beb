#include "textbox/paragraph_cursor.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <limits>

#include "textbox/line_breaks.h"
#include "textbox/paragraph_direction.h"

namespace kelvaro {
namespace {

// The document is for moves only and never laid out: a cursor's moves then
// read no more than the paragraphs they cross.
class NoDocumentLayout : public QAbstractTextDocumentLayout {
 public:
  using QAbstractTextDocumentLayout::QAbstractTextDocumentLayout;
  void draw(QPainter*, const PaintContext&) override {}
  int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override { return {}; }
  QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
  QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

 protected:
  void documentChanged(int, int, int) override {}
};

bool IsRegionalIndicatorBefore(QStringView text, qsizetype position) {
  if (position < 2 || !text[position - 1].isLowSurrogate() || !text[position - 2].isHighSurrogate())
    return false;
  const char32_t c = QChar::surrogateToUcs4(text[position - 2], text[position - 1]);
  return c >= 0x1F1E6 && c <= 0x1F1FF;
}

}  // namespace

ParagraphCursor::ParagraphCursor(const QString& text, int position, int anchor, int reach)
    : document_(std::make_unique<QTextDocument>()) {
  document_->setDocumentLayout(new NoDocumentLayout(document_.get()));
  document_->setUndoRedoEnabled(false);
  const QStringView view(text);
  // From the start of the paragraph before to the end of the one after...
  int spanStart = ParagraphStart(view, position);
  if (spanStart > 0) spanStart = ParagraphStart(view, BreakBefore(view, spanStart));
  int spanEnd = ParagraphEnd(view, position);
  if (spanEnd < text.size()) spanEnd = ParagraphEnd(view, spanEnd + BreakLength(view, spanEnd));
  // ...as far as the reach goes, never splitting a surrogate pair or a CR
  // LF, nor a run of regional indicators, which pair up from its start.
  int from = std::max(spanStart, position - reach);
  while (from > spanStart && (text[from].isLowSurrogate() || SplitsBreak(view, from) ||
                              IsRegionalIndicatorBefore(view, from))) {
    --from;
  }
  int to = std::min(spanEnd, position + reach);
  while (to < spanEnd && (text[to].isLowSurrogate() || SplitsBreak(view, to))) ++to;
  cutBefore_ = from > spanStart;
  cutAfter_ = to < spanEnd;
  from_ = from;
  for (int i = from; i + 1 < to; ++i) {
    if (text[i] == u'\r' && text[i + 1] == u'\n')
      crLfs_.push_back(i - from - static_cast<int>(crLfs_.size()));
  }
  document_->setPlainText(text.mid(from, to - from));
  length_ = document_->characterCount() - 1;
  cursor_ = QTextCursor(document_.get());
  // Placed within an edit block, as a cursor placed outside one works out
  // its x by laying out its paragraph.
  cursor_.beginEditBlock();
  // A paragraph cut short keeps the direction of the whole of it.
  const auto keepDirection = [&](const QTextBlock& block, int paragraphAt) {
    QTextBlockFormat format = block.blockFormat();
    format.setLayoutDirection(ParagraphDirection(view.sliced(ParagraphStart(view, paragraphAt)),
                                                 std::numeric_limits<qsizetype>::max()));
    QTextCursor(block).setBlockFormat(format);
  };
  if (cutBefore_) keepDirection(document_->firstBlock(), from);
  if (cutAfter_) keepDirection(document_->lastBlock(), to);
  cursor_.setPosition(ToDocument(std::clamp(anchor, from, to)));
  cursor_.setPosition(ToDocument(position), QTextCursor::KeepAnchor);
  cursor_.endEditBlock();
}

ParagraphCursor::~ParagraphCursor() = default;

int ParagraphCursor::ToText(int documentPosition) const {
  if ((cutBefore_ && documentPosition < kCutMargin) ||
      (cutAfter_ && documentPosition > length_ - kCutMargin)) {
    nearCut_ = true;
  }
  const auto before = std::lower_bound(crLfs_.begin(), crLfs_.end(), documentPosition);
  return from_ + documentPosition + static_cast<int>(before - crLfs_.begin());
}

int ParagraphCursor::ToDocument(int textPosition) const {
  // The CR LFs that end before the position each take a unit more in the text.
  int document = textPosition - from_;
  for (std::size_t k = 0; k < crLfs_.size(); ++k) {
    if (from_ + crLfs_[k] + static_cast<int>(k) + 2 > textPosition) break;
    --document;
  }
  return document;
}

}  // namespace kelvaro
