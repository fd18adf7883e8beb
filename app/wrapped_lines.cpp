#include "app/wrapped_lines.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <limits>

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
  const QString& text = *text_;
  const int size = static_cast<int>(text.size());
  const int from = starts_.back();
  qreal x = 0;
  bool lineHasText = false;  // more than spaces
  const auto startLine = [&](int at) {
    starts_.push_back(at);
    x = 0;
    lineHasText = false;
    return stopAfter(at);
  };
  BreakOpportunities breaks(text, from);
  for (int position = from; position < size;) {
    bool mandatory = false;
    const int next = breaks.Next(&mandatory);
    const PieceWidth piece = Measure(QStringView(text).mid(position, next - position));
    const bool fits = x + piece.visible <= width_;
    if (lineHasText && !fits && startLine(position)) return;
    // A word that does not fit where a line holds only spaces, or on a line
    // of its own, is broken anywhere, from where it starts.
    if (!fits) {
      x = BreakAnywhere(position, next, width_ - x);
    } else {
      x += piece.whole;
    }
    lineHasText = lineHasText || piece.visible > 0;
    position = next;
    if (mandatory && startLine(position)) return;
  }
  complete_ = true;
}

qreal WrappedLines::BreakAnywhere(int from, int to, qreal firstWidth) {
  QTextLayout layout(text_->mid(from, to - from), font_);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine last;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(line.lineNumber() == 0 ? firstWidth : width_);
    if (line.textStart() > 0) starts_.push_back(from + line.textStart());
    last = line;
  }
  layout.endLayout();
  return last.cursorToX(last.textStart() + last.textLength());
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
