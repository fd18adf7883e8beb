#include "textbox/paragraph_cursor.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <algorithm>

#include "textbox/line_breaks.h"

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

}  // namespace

ParagraphCursor::ParagraphCursor(const QString& text, int position, int anchor)
    : document_(std::make_unique<QTextDocument>()) {
  document_->setDocumentLayout(new NoDocumentLayout(document_.get()));
  document_->setUndoRedoEnabled(false);
  // From the start of the paragraph before to the end of the one after.
  const QStringView view(text);
  int from = ParagraphStart(view, position);
  if (from > 0) {
    const bool crLf = from >= 2 && text[from - 2] == u'\r' && text[from - 1] == u'\n';
    from = ParagraphStart(view, from - (crLf ? 2 : 1));
  }
  int to = ParagraphEnd(view, position);
  if (to < text.size()) to = ParagraphEnd(view, to + BreakLength(view, to));
  from_ = from;
  for (int i = from; i + 1 < to; ++i) {
    if (text[i] == u'\r' && text[i + 1] == u'\n')
      crLfs_.push_back(i - from - static_cast<int>(crLfs_.size()));
  }
  document_->setPlainText(text.mid(from, to - from));
  cursor_ = QTextCursor(document_.get());
  // Placed within an edit block, as a cursor placed outside one works out
  // its x by laying out its paragraph.
  cursor_.beginEditBlock();
  cursor_.setPosition(ToDocument(std::clamp(anchor, from, to)));
  cursor_.setPosition(ToDocument(position), QTextCursor::KeepAnchor);
  cursor_.endEditBlock();
}

ParagraphCursor::~ParagraphCursor() = default;

int ParagraphCursor::ToText(int documentPosition) const {
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
