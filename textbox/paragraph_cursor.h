#pragma once

#include <QString>
#include <QTextCursor>
#include <memory>
#include <vector>

class QTextDocument;

namespace kelvaro {

// A text cursor for one move in a long text: a cursor in a text document of
// only the text that a move from the position can reach, the paragraph that
// holds it and one either side, with positions mapped between that document
// and the text. So the text is held once, and a move costs what it reads,
// not the whole text: in a long paragraph the document holds only a stretch
// around the position, and the move is made again on a longer one wherever
// its answer comes near where the stretch was cut. The text's breaks may be
// LF, CR or CR LF; the document holds one paragraph break for each.
class ParagraphCursor {
 public:
  // Makes a move, `move(ParagraphCursor&)`, with the cursor at position and
  // the anchor as near its place as the document reaches; what it returns
  // must come from ToText.
  template <typename Move>
  static auto Around(const QString& text, int position, int anchor, Move move) {
    for (int reach = kFirstReach;; reach *= 4) {
      ParagraphCursor around(text, position, anchor, reach);
      auto answer = move(around);
      if (!around.nearCut_) return answer;
    }
  }
  template <typename Move>
  static auto Around(const QString& text, int position, Move move) {
    return Around(text, position, position, move);
  }
  ~ParagraphCursor();

  QTextCursor& cursor() { return cursor_; }
  // A position of the document as one of the text.
  int ToText(int documentPosition) const;

 private:
  // Code units either side of the position that the document holds first.
  static constexpr int kFirstReach = 512;
  // An answer this close to where a stretch was cut may depend on what was
  // cut off (a word, a cluster of characters that goes on past it).
  static constexpr int kCutMargin = 64;

  ParagraphCursor(const QString& text, int position, int anchor, int reach);
  int ToDocument(int textPosition) const;

  std::unique_ptr<QTextDocument> document_;
  int from_ = 0;  // where the document's text starts in the text
  int length_ = 0;
  bool cutBefore_ = false;  // the document starts inside a paragraph, or past one a move reaches
  bool cutAfter_ = false;
  mutable bool nearCut_ = false;  // an answer lay near a cut
  // Where each CR LF of that stretch stands in the document, in order.
  std::vector<int> crLfs_;
  QTextCursor cursor_;
};

}  // namespace kelvaro
