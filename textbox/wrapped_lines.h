#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <functional>
#include <vector>

namespace kelvaro {

// Where a long text wraps into lines of a given width, as a text layout
// breaks each of its paragraphs: at the line-break opportunities of Unicode
// and after every run of spaces, greedily, with spaces hanging past the end
// of a line and a word wider than a line broken anywhere. Widths are
// measured per piece between break opportunities, and those of short pieces
// cached. Lines are found lazily, only as far as they are asked for, and a
// rewrap after a change redoes only the lines from the change until they
// meet the old lines again, so the cost follows what is shown and changed,
// not the length of the text. As widths are those of each piece on its own,
// a line may end a piece earlier or later than in a text layout where a
// font shapes a piece differently beside its neighbours (kerning across
// pieces, digits after letters) and the line is all but full.
//
// A line holds at most kMaxLineLength code units, and no more text than that
// is analysed, measured or laid out at once. So, unlike a text layout, a run
// with no break opportunity for that long never shares a line with text
// before it (there, it does not whenever it is wider than the rest of the
// line), and a line of characters without width (combining marks, hanging
// spaces, zero-width characters) ends at that length, even inside one
// grapheme cluster.
class WrappedLines {
 public:
  // Far more than a line of visible characters holds at any width and size
  // that the boxes use.
  static constexpr int kMaxLineLength = 1024;

  void setFont(const QFont& font);
  // Wraps a text anew at the given width; the text must outlive its use here.
  void Reset(const QString* text, qreal width);
  // Rewraps after the text changed: positions before `from` are as before,
  // and the last `suffix` characters are those of the old text, shifted by
  // `shift` (new position = old position + shift).
  void Update(int from, int suffix, int shift);

  bool HasLine(int line);
  int Start(int line);
  int LineOf(int position);
  // Where a line's text ends: before the line break (LF, CR or CR LF) that ends it, if any.
  int LineEnd(int line);
  // True when the line ends where the next one starts without a line break.
  bool Wrapped(int line);
  // All lines; a text that ends in a line break ends with an empty line.
  const std::vector<int>& starts();
  int count() { return static_cast<int>(starts().size()); }
  // The number of lines, estimated from those found so far.
  int EstimatedCount() const;

 private:
  struct PieceWidth {
    float whole;
    float visible;  // without the trailing spaces, which may hang, with the ink past the end
  };
  // A piece broken anywhere into lines (see BreakAnywhere).
  struct Broken {
    bool stopped;   // a line start made the wrapping stop
    int lastStart;  // where the last line starts: `from` when it is one line
    qreal width;    // the text's width, when it is one line
  };
  PieceWidth Measure(QStringView piece);
  // Wraps on from the last line start found, until the line `line` exists
  // and starts after `position`, or to the end.
  void WrapUntil(int line, int position);
  // Wraps from the last line start until a line starts where an old one did
  // in the unchanged tail, or for a few screens; false when stopped early.
  void WrapAfterChange(std::vector<int> old, bool oldComplete, int tailStart, int shift);
  // Wraps greedily from the last line start found, until `stopAfter` says
  // so for a new line start, or to the end of the text.
  void WrapOn(const std::function<bool(int)>& stopAfter);
  // Lays out the text from a line's start `from` to a piece's end `to`
  // broken anywhere, at grapheme boundaries, and calls startLine for each
  // line start between them until it returns true.
  Broken BreakAnywhere(int from, int to, const std::function<bool(int)>& startLine);

  const QString* text_ = nullptr;
  QFont font_;
  qreal width_ = 1;
  std::vector<int> starts_{0};
  bool complete_ = true;
  std::vector<PieceWidth> charWidths_;  // single BMP characters, by code
  QHash<QString, PieceWidth> pieceWidths_;
};

}  // namespace kelvaro
