#pragma once

#include <QString>
#include <QTextCursor>
#include <memory>
#include <vector>

class QTextDocument;

namespace kelvaro {

// A text cursor for one move in a long text: a cursor in a text document of
// only the paragraphs that a move from the position can reach, its own and
// one either side, with positions mapped between that document and the text.
// A move reads no more than these, so the text is held once, and a move costs
// its paragraphs, not the whole text. The text's breaks may be LF, CR or
// CR LF; the document holds one paragraph break for each.
class ParagraphCursor {
 public:
  // The cursor at position; with the anchor too where it lies in these
  // paragraphs, else at the edge of them on its side.
  ParagraphCursor(const QString& text, int position, int anchor);
  explicit ParagraphCursor(const QString& text, int position)
      : ParagraphCursor(text, position, position) {}
  ~ParagraphCursor();

  QTextCursor& cursor() { return cursor_; }
  // A position of the document as one of the text.
  int ToText(int documentPosition) const;

 private:
  int ToDocument(int textPosition) const;

  std::unique_ptr<QTextDocument> document_;
  int from_ = 0;  // where the document's text starts in the text
  // Where each CR LF of that stretch stands in the document, in order.
  std::vector<int> crLfs_;
  QTextCursor cursor_;
};

}  // namespace kelvaro
