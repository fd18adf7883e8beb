#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <vector>

namespace kelvaro {

// Where a long text wraps into lines of a given width, as a text layout
// breaks it: at the line-break opportunities of Unicode, greedily, with
// spaces hanging past the end of a line and a word wider than a line broken
// anywhere. Widths are measured per piece between break opportunities and
// cached, and a rewrap after a change redoes only the lines from the change
// until they meet the old lines again, so its cost follows the change, not
// the length of the text.
class WrappedLines {
 public:
  void setFont(const QFont& font);
  // Wraps text anew at the given width.
  void Reset(const QString& text, qreal width);
  // Rewraps after a change: positions before `from` are as before, and the
  // last `suffix` characters are those of the old text, shifted by `shift`
  // (new position = old position + shift).
  void Update(const QString& text, int from, int suffix, int shift);

  // Where each line starts; a text that ends in a line feed ends with an
  // empty line.
  const std::vector<int>& starts() const { return starts_; }
  int count() const { return static_cast<int>(starts_.size()); }
  int LineOf(int position) const;
  // Where a line's text ends: before the line feed that ends it, if any.
  int LineEnd(const QString& text, int line) const;
  qreal width() const { return width_; }

 private:
  struct PieceWidth {
    float whole;
    float visible;  // without the trailing spaces, which may hang
  };
  PieceWidth Measure(QStringView piece);
  // Wraps from the line start `from` to the end of the text, or until a line
  // starts where an old one did, in the unchanged tail.
  void WrapFrom(const QString& text, int from, std::vector<int> old, int tailStart, int shift);
  // Breaks a word wider than a line into lines; returns the width of the last.
  qreal BreakAnywhere(const QString& text, int from, int to);

  QFont font_;
  qreal width_ = 1;
  std::vector<int> starts_{0};
  std::vector<PieceWidth> charWidths_;  // single BMP characters, by code
  QHash<QString, PieceWidth> pieceWidths_;
};

}  // namespace kelvaro
