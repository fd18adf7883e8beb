#include "app/wrapped_lines.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

namespace kelvaro {
namespace {

// The break opportunities of a text from a position where a line starts,
// found a chunk at a time: a boundary finder analyses all the text it is
// given, and only the text near the lines being wrapped is needed. The last
// few characters of a chunk are looked at again with the next one, since
// whether a break is allowed depends on what follows. A chunk reaches a
// line's most code units past the last break; when it holds no break, it is
// cut there instead, at a grapheme boundary unless one cluster fills it.
class BreakOpportunities {
 public:
  enum class Kind {
    kAllowed,
    kMandatory,  // after a line feed
    kCut,        // no break opportunity: a line's most code units without one
  };
  struct Break {
    int position;
    Kind kind;
  };

  BreakOpportunities(const QString& text, int from) : text_(text), chunkFrom_(from) {}

  Break Next() {
    if (index_ >= found_.size()) Fill();
    return found_[index_++];
  }

 private:
  static constexpr int kLookAhead = 16;

  void Fill() {
    constexpr int kMost = WrappedLines::kMaxLineLength;
    const int size = static_cast<int>(text_.size());
    const int reach = std::min(size, chunkFrom_ + kMost + kLookAhead);
    const QStringView chunk = QStringView(text_).sliced(chunkFrom_, reach - chunkFrom_);
    // Breaks are taken no further than a line's most code units, so that no
    // piece is longer, with the look-ahead past them.
    const qsizetype last = std::min<qsizetype>(kMost, chunk.size());
    found_.clear();
    index_ = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, chunk.data(), chunk.size());
    for (qsizetype b = finder.toNextBoundary(); b > 0 && b <= last; b = finder.toNextBoundary()) {
      const int position = chunkFrom_ + static_cast<int>(b);
      found_.push_back(
          {position, text_.at(position - 1) == u'\n' ? Kind::kMandatory : Kind::kAllowed});
    }
    if (found_.empty()) found_.push_back({chunkFrom_ + Cut(chunk, kMost), Kind::kCut});
    chunkFrom_ = found_.back().position;
  }

  // Where a chunk is cut at `at` at the latest: at a grapheme boundary, or
  // inside a cluster that fills it, though not inside a surrogate pair.
  static int Cut(QStringView chunk, int at) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, chunk.data(), chunk.size());
    graphemes.setPosition(at);
    const qsizetype boundary = graphemes.isAtBoundary() ? at : graphemes.toPreviousBoundary();
    if (boundary > 0) return static_cast<int>(boundary);
    return chunk[at - 1].isHighSurrogate() && chunk[at].isLowSurrogate() ? at - 1 : at;
  }

  const QString& text_;
  int chunkFrom_;
  std::vector<Break> found_;
  std::size_t index_ = 0;
};

// Widths are cached for pieces up to this long (syllables, words, a few
// characters), and for this many pieces at most.
constexpr int kMaxCachedPieceLength = 32;
constexpr int kMaxCachedPieces = 1 << 16;

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
  if (piece.size() > kMaxCachedPieceLength) return measure(piece);
  const QString key = piece.toString();
  auto found = pieceWidths_.constFind(key);
  if (found == pieceWidths_.constEnd()) {
    if (pieceWidths_.size() >= kMaxCachedPieces) pieceWidths_.clear();
    found = pieceWidths_.insert(key, measure(piece));
  }
  return *found;
}

void WrappedLines::Reset(const QString* text, qreal width) {
  text_ = text;
  width_ = std::max<qreal>(1, width);
  starts_.assign(1, 0);
  complete_ = text_->isEmpty();
}

void WrappedLines::Update(int from, int suffix, int shift) {
  std::vector<int> old = std::move(starts_);
  // The line before the change may now take the first word of the changed one.
  const auto after = std::upper_bound(old.begin(), old.end(), from);
  const int keep = std::max(1, static_cast<int>(after - old.begin()) - 1);
  starts_.assign(old.begin(), old.begin() + keep);
  const bool oldComplete = complete_;
  complete_ = false;
  WrapAfterChange(std::move(old), oldComplete, static_cast<int>(text_->size()) - suffix, shift);
}

namespace {

// How many lines a rewrap redoes, at most, looking for the old lines; the
// rest is wrapped when it is asked for.
constexpr int kRewrapLines = 8;

}  // namespace

void WrappedLines::WrapAfterChange(std::vector<int> old, bool oldComplete, int tailStart,
                                   int shift) {
  const std::size_t enough = starts_.size() + kRewrapLines;
  WrapOn([&](int at) {
    if (at >= tailStart + 2) {
      auto same = std::lower_bound(old.begin(), old.end(), at - shift);
      if (same != old.end() && *same == at - shift) {
        for (++same; same != old.end(); ++same) starts_.push_back(*same + shift);
        complete_ = oldComplete;
        return true;
      }
    }
    return starts_.size() >= enough;
  });
}

void WrappedLines::WrapUntil(int line, int position) {
  if (complete_ || (static_cast<int>(starts_.size()) > line + 1 && starts_.back() > position))
    return;
  WrapOn([&](int at) { return static_cast<int>(starts_.size()) > line + 1 && at > position; });
}

void WrappedLines::WrapOn(const std::function<bool(int)>& stopAfter) {
  using Kind = BreakOpportunities::Kind;
  const QString& text = *text_;
  const int size = static_cast<int>(text.size());
  int lineStart = starts_.back();
  qreal x = 0;
  const auto startLine = [&](int at) {
    starts_.push_back(at);
    lineStart = at;
    x = 0;
    return stopAfter(at);
  };
  std::optional<BreakOpportunities> breaks(std::in_place, text, lineStart);
  for (int position = lineStart; position < size;) {
    const auto [next, kind] = breaks->Next();
    // A cut run is not measured: it fills a line in code units.
    const bool cut = kind == Kind::kCut;
    const PieceWidth piece =
        cut ? PieceWidth{} : Measure(QStringView(text).mid(position, next - position));
    const bool fits = !cut && next - lineStart <= kMaxLineLength && x + piece.visible <= width_;
    if (position > lineStart && !fits && startLine(position)) return;
    if (cut || piece.visible > width_) {
      const Broken broken = BreakAnywhere(position, next, startLine);
      if (broken.stopped) return;
      if (broken.lastStart > position) {
        // On from the last line's start, as when wrapping stopped there.
        position = broken.lastStart;
        breaks.emplace(text, position);
        continue;
      }
      x = broken.width;
    } else {
      x += piece.whole;
    }
    position = next;
    if (kind == Kind::kMandatory && startLine(position)) return;
  }
  complete_ = true;
}

WrappedLines::Broken WrappedLines::BreakAnywhere(int from, int to,
                                                 const std::function<bool(int)>& startLine) {
  QTextLayout layout(text_->mid(from, to - from), font_);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  bool stopped = false;
  QTextLine last;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    if (line.textStart() > 0 && startLine(from + line.textStart())) {
      stopped = true;
      break;
    }
    line.setLineWidth(width_);
    last = line;
  }
  layout.endLayout();
  if (stopped) return {true, from, 0};
  if (last.textStart() > 0) return {false, from + last.textStart(), 0};
  return {false, from, last.cursorToX(last.textLength())};
}

bool WrappedLines::HasLine(int line) {
  // A line is known complete once the next one starts.
  WrapUntil(line + 1, -1);
  return line >= 0 && line < static_cast<int>(starts_.size());
}

int WrappedLines::Start(int line) {
  HasLine(line);
  return starts_[static_cast<std::size_t>(line)];
}

int WrappedLines::LineOf(int position) {
  WrapUntil(0, position);
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
  return static_cast<int>(after - starts_.begin()) - 1;
}

int WrappedLines::LineEnd(int line) {
  const int next = HasLine(line + 1) ? starts_[static_cast<std::size_t>(line) + 1]
                                     : static_cast<int>(text_->size());
  return next > Start(line) && text_->at(next - 1) == u'\n' ? next - 1 : next;
}

bool WrappedLines::Wrapped(int line) {
  return HasLine(line + 1) && LineEnd(line) == starts_[static_cast<std::size_t>(line) + 1];
}

const std::vector<int>& WrappedLines::starts() {
  WrapUntil(std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max());
  return starts_;
}

int WrappedLines::EstimatedCount() const {
  const int lines = static_cast<int>(starts_.size());
  if (complete_ || lines < 2) return complete_ ? lines : lines + 1;
  const double perLine = static_cast<double>(starts_.back()) / (lines - 1);
  return lines + static_cast<int>((text_->size() - starts_.back()) / perLine);
}

}  // namespace kelvaro
