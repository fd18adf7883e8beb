#pragma once

#include <QPalette>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QTextLayout>
#include <functional>
#include <memory>
#include <vector>

namespace kelvaro {

// Pictures of the lines a text box shows. Rasterising a line's glyphs is most
// of the cost of a repaint, and most repaints find most lines as they were
// (typing changes one line; a caret blink, none). A line whose text and
// selection are as at the last paint is drawn from its picture.
//
// A paint goes: BeginPaint, Get for each line drawn, EndPaint. Pictures the
// paint did not use are dropped at its end, so about one screenful is kept.
class LinePictures {
 public:
  struct Line {
    QString text;
    Qt::LayoutDirection direction = Qt::LeftToRight;  // of the line's paragraph
    int selectionStart = 0;  // in the line's text; length 0 when none is selected
    int selectionLength = 0;
    int markStart = 0;  // the follow mark, likewise
    int markLength = 0;
    bool operator==(const Line&) const = default;
  };

  struct Picture {
    Line line;
    QPixmap pixmap;
    std::unique_ptr<QTextLayout> layout;  // shaped once, for the caret too
  };

  // Starts a paint whose line pictures have this size in device pixels, pixel ratio and
  // colour group; pictures made for others are dropped.
  void BeginPaint(QSize lineSize, qreal pixelRatio, QPalette::ColorGroup colours);
  // The picture of `line`, made by `make` (pixmap and layout) when the last
  // paint had none. It stays valid until EndPaint.
  const Picture& Get(const Line& line, const std::function<Picture()>& make);
  void EndPaint();
  // Drops every picture, when the font, colours or style change.
  void Clear();

 private:
  QSize lineSize_;
  qreal pixelRatio_ = 0;
  QPalette::ColorGroup colours_ = QPalette::NColorGroups;
  std::vector<std::unique_ptr<Picture>> previous_;  // from the last paint
  std::vector<std::unique_ptr<Picture>> current_;   // used by this one
};

}  // namespace kelvaro
