#include "textbox/wrapped_lines.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

#include "textbox/line_breaks.h"

namespace kelvaro {
namespace {

// Where the first line break of a stretch stands in it, or -1.
qsizetype FirstBreak(QStringView text) {
  const auto found = std::find_if(text.begin(), text.end(), IsLineBreak);
  return found == text.end() ? -1 : found - text.begin();
}

// How many characters past a chunk or a piece are looked at for what they
// change in it: whether a break is allowed, how its last letters are shaped.
constexpr int kLookAhead = 16;

// Where the few characters before a position start that are looked at with
// what follows it, as a text layout sees them: within its paragraph, and not
// inside a surrogate pair.
int ContextStart(const QString& text, int position) {
  const QStringView before = QStringView(text).first(position).last(std::min(position, kLookAhead));
  const qsizetype lastBreak = std::max(before.lastIndexOf(u'\n'), before.lastIndexOf(u'\r'));
  int start = position - static_cast<int>(before.size() - lastBreak - 1);
  if (start < position && text[start].isLowSurrogate()) ++start;
  return start;
}

// A space that a line may break after, as a text layout takes it: any but
// the no-break ones.
bool IsBreakableSpace(QChar c) { return c.isSpace() && c.decompositionTag() != QChar::NoBreak; }

// Where lines may break, as a text layout breaks them: at the break
// opportunities of Unicode, and after every run of breakable spaces; never
// before a space, and always after a line break. They are found from a
// position where a line starts, a chunk at a time: a boundary finder
// analyses all the text it is given, and only the text near the lines being
// wrapped is needed. Whether a break is allowed depends on the characters
// around it, so a few before a chunk are analysed with it and the last few
// of a chunk again with the next one; a paragraph is analysed on its own, as
// a text layout lays out each one. A chunk reaches a line's most code units
// past the last break; when it holds no break, it is cut there instead, at a
// grapheme boundary unless one cluster fills it.
class BreakOpportunities {
 public:
  enum class Kind {
    kAllowed,
    kMandatory,  // after a line break (LF, CR or CR LF)
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
  void Fill() {
    constexpr int kMost = WrappedLines::kMaxLineLength;
    const int size = static_cast<int>(text_.size());
    const int reach = std::min(size, chunkFrom_ + kMost + kLookAhead);
    QStringView chunk = QStringView(text_).sliced(chunkFrom_, reach - chunkFrom_);
    const qsizetype feed = FirstBreak(chunk);
    if (feed >= 0) chunk.truncate(feed);
    // A CR LF is one break, of two code units.
    const int breakLength = feed >= 0 ? BreakLength(text_, chunkFrom_ + feed) : 1;
    // A chunk that ends its paragraph needs no look-ahead. Breaks are taken
    // no further than a line's most code units, the line break included, so
    // that no piece is longer.
    const bool paragraphEnds = feed >= 0 || reach == size;
    const qsizetype last =
        std::min<qsizetype>(kMost, paragraphEnds ? chunk.size() - 1 : chunk.size() - kLookAhead);
    found_.clear();
    index_ = 0;
    const int behind = ContextStart(text_, chunkFrom_);
    const qsizetype offset = chunkFrom_ - behind;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text_.constData() + behind,
                               offset + chunk.size());
    finder.setPosition(offset);
    qsizetype boundary = finder.toNextBoundary();
    for (qsizetype i = 1; i <= last; ++i) {
      while (boundary >= 0 && boundary < offset + i) boundary = finder.toNextBoundary();
      if (!IsBreakableSpace(chunk[i]) && (boundary == offset + i || IsBreakableSpace(chunk[i - 1])))
        found_.push_back({chunkFrom_ + static_cast<int>(i), Kind::kAllowed});
    }
    if (paragraphEnds && chunk.size() + breakLength <= kMost) {
      if (feed >= 0) {
        found_.push_back({chunkFrom_ + static_cast<int>(feed) + breakLength, Kind::kMandatory});
      } else {
        found_.push_back({size, Kind::kAllowed});
      }
    } else if (found_.empty()) {
      found_.push_back({chunkFrom_ + Cut(chunk, kMost), Kind::kCut});
    }
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
    while (visible > 0 && IsBreakableSpace(text.at(visible - 1))) --visible;
    const QString whole = text.toString();
    const qreal all = metrics.horizontalAdvance(whole);
    qreal shown = visible == text.size() ? all : metrics.horizontalAdvance(whole.left(visible));
    // As in a text layout, a line holds a piece only with the ink of its last
    // letter, which may reach past its advance (an f, say).
    if (visible > 0 && !text.at(visible - 1).isSurrogate())
      shown += std::max<qreal>(0, -metrics.rightBearing(text.at(visible - 1)));
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
    if (at >= tailStart + kLookAhead) {
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
  bool spacesOnly = true;  // the line holds nothing but spaces so far
  const auto startLine = [&](int at) {
    starts_.push_back(at);
    lineStart = at;
    x = 0;
    spacesOnly = true;
    return stopAfter(at);
  };
  std::optional<BreakOpportunities> breaks(std::in_place, text, lineStart);
  for (int position = lineStart; position < size;) {
    // Named, not bound: a lambda cannot take a structured binding in C++20.
    const auto found = breaks->Next();
    const int next = found.position;
    const Kind kind = found.kind;
    // A cut run is not measured: it fills a line in code units.
    const bool cut = kind == Kind::kCut;
    const PieceWidth piece =
        cut ? PieceWidth{} : Measure(QStringView(text).mid(position, next - position));
    const auto fits = [&] {
      return !cut && next - lineStart <= kMaxLineLength && x + piece.visible <= width_;
    };
    // A piece that does not fit goes to the next line, unless this one holds
    // no more than the spaces that start a paragraph: as in a text layout,
    // the line then takes it and is broken anywhere.
    if (!fits() && !spacesOnly && startLine(position)) return;
    if (fits()) {
      x += piece.whole;
    } else {
      const int from = lineStart;
      const int to = std::min(next, from + kMaxLineLength);
      const Broken broken = BreakAnywhere(from, to, startLine);
      if (broken.stopped) return;
      // The piece is on the line unless lines start in it, or spaces and
      // what of it fits fill the line in code units: then the piece starts
      // the next line.
      if (broken.lastStart > from || to < next || (cut && position > from)) {
        if (broken.lastStart == from && startLine(position)) return;
        // On from the last line's start, as when wrapping stopped there.
        position = starts_.back();
        breaks.emplace(text, position);
        continue;
      }
      x = broken.width;
    }
    spacesOnly = spacesOnly && IsBreakableSpace(text.at(position));
    position = next;
    if (kind == Kind::kMandatory && startLine(position)) return;
  }
  complete_ = true;
}

WrappedLines::Broken WrappedLines::BreakAnywhere(int from, int to,
                                                 const std::function<bool(int)>& startLine) {
  // Laid out with a little of what comes before and after in the paragraph,
  // which a text layout shapes with it: the script of punctuation and digits
  // follows the letters before them, and letters kern with their
  // neighbours. Only the lines that start inside are taken.
  const QStringView text(*text_);
  int begin = ContextStart(*text_, from);
  const QStringView after = text.sliced(to, std::min<qsizetype>(kLookAhead, text.size() - to));
  const qsizetype feed = FirstBreak(after);
  const int end = to + static_cast<int>(feed >= 0 ? feed : after.size());
  QTextLayout layout(text_->mid(begin, end - begin), font_);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  if (begin < from) {
    QTextLine context = layout.createLine();
    context.setNumColumns(from - begin);
    if (context.textLength() != from - begin) {
      // From is inside a cluster that the context would take: none then.
      layout.endLayout();
      layout.clearLayout();
      layout.setText(text_->mid(from, end - from));
      begin = from;
      layout.beginLayout();
    }
  }
  Broken broken{false, from, 0};
  QTextLine first;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    const int start = begin + line.textStart();
    if (start >= to) break;
    if (start > from) {
      broken.stopped = startLine(start);
      if (broken.stopped) break;
      broken.lastStart = start;
    }
    line.setLineWidth(width_);
    if (start == from) first = line;
  }
  layout.endLayout();
  if (!broken.stopped && broken.lastStart == from)
    broken.width = first.cursorToX(to - begin) - first.cursorToX(from - begin);
  return broken;
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
  return next > Start(line) && IsLineBreak(text_->at(next - 1)) ? BreakBefore(*text_, next) : next;
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
