#include "app/wrapped_lines.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>

namespace kelvaro {
namespace {

// The break opportunities of a text from a position where a line starts,
// found a chunk at a time: a boundary finder analyses all the text it is
// given, and only the text near the lines being wrapped is needed. The last
// few characters of a chunk are looked at again with the next one, since
// whether a break is allowed depends on what follows.
class BreakOpportunities {
 public:
  BreakOpportunities(const QString& text, int from) : text_(text), chunkFrom_(from) {}

  // The next break opportunity; mandatory when a line feed ends the piece.
  int Next(bool* mandatory) {
    while (index_ >= found_.size()) Fill();
    const int position = found_[index_++];
    *mandatory = text_.at(position - 1) == u'\n';
    return position;
  }

 private:
  static constexpr int kChunk = 1024;
  static constexpr int kLookAhead = 16;

  void Fill() {
    const int size = static_cast<int>(text_.size());
    found_.clear();
    index_ = 0;
    for (int length = kChunk; found_.empty(); length *= 2) {
      const int end = std::min(size, chunkFrom_ + length);
      const int trusted = end == size ? size : end - kLookAhead;
      QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text_.constData() + chunkFrom_,
                                 end - chunkFrom_);
      for (qsizetype b = finder.toNextBoundary(); b > 0; b = finder.toNextBoundary()) {
        if (chunkFrom_ + b > trusted) break;
        found_.push_back(chunkFrom_ + static_cast<int>(b));
      }
    }
    chunkFrom_ = found_.back();
  }

  const QString& text_;
  int chunkFrom_;
  std::vector<int> found_;
  std::size_t index_ = 0;
};

}  // namespace

void WrappedLines::setFont(const QFont& font) {
  font_ = font;
  charWidths_.clear();
  pieceWidths_.clear();
}

WrappedLines::PieceWidth WrappedLines::Measure(QStringView piece) {
  const auto measure = [this](QStringView text) {
    const QFontMetricsF metrics(font_);
    int visible = static_cast<int>(text.size());
    while (visible > 0 && text.at(visible - 1).isSpace()) --visible;
    const QString whole = text.toString();
    const qreal all = metrics.horizontalAdvance(whole);
    const qreal shown =
        visible == text.size() ? all : metrics.horizontalAdvance(whole.left(visible));
    return PieceWidth{static_cast<float>(all), static_cast<float>(shown)};
  };
  if (piece.size() == 1) {
    if (charWidths_.empty()) charWidths_.assign(0x10000, PieceWidth{-1, -1});
    PieceWidth& cached = charWidths_[piece.at(0).unicode()];
    if (cached.whole < 0) cached = measure(piece);
    return cached;
  }
  const QString key = piece.toString();
  auto found = pieceWidths_.constFind(key);
  if (found == pieceWidths_.constEnd()) found = pieceWidths_.insert(key, measure(piece));
  return *found;
}

void WrappedLines::Reset(const QString& text, qreal width) {
  width_ = std::max<qreal>(1, width);
  starts_.assign(1, 0);
  WrapFrom(text, 0, {}, static_cast<int>(text.size()) + 1, 0);
}

void WrappedLines::Update(const QString& text, int from, int suffix, int shift) {
  std::vector<int> old = std::move(starts_);
  // The line before the change may now take the first word of the changed one.
  const auto after = std::upper_bound(old.begin(), old.end(), from);
  const int keep = std::max(1, static_cast<int>(after - old.begin()) - 1);
  starts_.assign(old.begin(), old.begin() + keep);
  WrapFrom(text, starts_.back(), std::move(old), static_cast<int>(text.size()) - suffix, shift);
}

void WrappedLines::WrapFrom(const QString& text, int from, std::vector<int> old, int tailStart,
                            int shift) {
  const int size = static_cast<int>(text.size());
  int lineStart = from;
  qreal x = 0;
  // Starts a line; true when the old lines from there on are still right.
  const auto startLine = [&](int at) {
    starts_.push_back(at);
    lineStart = at;
    x = 0;
    if (at < tailStart + 2) return false;
    auto same = std::lower_bound(old.begin(), old.end(), at - shift);
    if (same == old.end() || *same != at - shift) return false;
    for (++same; same != old.end(); ++same) starts_.push_back(*same + shift);
    return true;
  };
  BreakOpportunities breaks(text, from);
  for (int position = from; position < size;) {
    bool mandatory = false;
    const int next = breaks.Next(&mandatory);
    const PieceWidth piece = Measure(QStringView(text).mid(position, next - position));
    if (position > lineStart && x + piece.visible > width_ && startLine(position)) return;
    if (piece.visible > width_) {
      x = BreakAnywhere(text, position, next);
    } else {
      x += piece.whole;
    }
    position = next;
    if (mandatory && startLine(position)) return;
  }
}

qreal WrappedLines::BreakAnywhere(const QString& text, int from, int to) {
  QTextLayout layout(text.mid(from, to - from), font_);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine last;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width_);
    if (line.textStart() > 0) starts_.push_back(from + line.textStart());
    last = line;
  }
  layout.endLayout();
  return last.cursorToX(last.textStart() + last.textLength());
}

int WrappedLines::LineOf(int position) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
  return static_cast<int>(after - starts_.begin()) - 1;
}

int WrappedLines::LineEnd(const QString& text, int line) const {
  const int next = line + 1 < count() ? starts_[static_cast<std::size_t>(line) + 1]
                                      : static_cast<int>(text.size());
  return next > starts_[static_cast<std::size_t>(line)] && text.at(next - 1) == u'\n' ? next - 1
                                                                                      : next;
}

}  // namespace kelvaro
