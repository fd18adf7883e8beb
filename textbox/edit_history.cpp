#include "textbox/edit_history.h"

#include <algorithm>
#include <utility>

namespace kelvaro {

namespace {

// The code units of the break at `i` of `text`: 2 for "\r\n", 1 for a lone
// "\r" or "\n", 0 for no break.
int BreakLength(QStringView text, qsizetype i) {
  if (text[i] == u'\r') return i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
  return text[i] == u'\n' ? 1 : 0;
}

}  // namespace

EditHistory::EditHistory(
    QString& text, std::function<void(int position, const QString& removed, int added)> changed)
    : text_(text), changed_(std::move(changed)) {
  Clear();
}

void EditHistory::Clear() {
  commands_.clear();
  done_ = 0;
  editBlockCursorPosition_ = -1;
  runs_.clear();
  runsBuilt_ = false;
}

void EditHistory::BuildRuns() {
  // Only at the first edit after the text was set: a text the program sets
  // again and again, and the user never edits, is never read here.
  if (runsBuilt_) return;
  runsBuilt_ = true;
  // The document's buffer holds the separator of its first block, then the
  // text, then a separator for each break of it.
  const int textStart = 1;
  bufferSize_ = textStart + static_cast<int>(text_.size());
  qsizetype start = 0;
  for (qsizetype i = 0; i < text_.size(); ++i) {
    const int length = BreakLength(text_, i);
    if (length == 0) continue;
    if (i > start)
      runs_.push_back({textStart + static_cast<int>(start), static_cast<int>(i - start), false});
    runs_.push_back({bufferSize_++, length, true});
    i += length - 1;
    start = i + 1;
  }
  if (text_.size() > start)
    runs_.push_back(
        {textStart + static_cast<int>(start), static_cast<int>(text_.size() - start), false});
}

void EditHistory::BeginEditBlock(int cursorPosition) {
  if (editBlock_ == 0) editBlockCursorPosition_ = cursorPosition;
  Begin();
}

void EditHistory::JoinPreviousEditBlock() {
  Begin();
  if (done_ > 0) commands_[done_ - 1].blockEnd = false;
}

void EditHistory::EndEditBlock() {
  if (--editBlock_ > 0) return;
  if (done_ > 0 && commands_[done_ - 1].blockPart) commands_[done_ - 1].blockEnd = true;
  editBlockCursorPosition_ = -1;
}

void EditHistory::InsertText(int from, int to, QStringView text) {
  // A selection is removed, and a text with breaks inserted, within a block.
  bool inBlock = from != to || std::any_of(text.begin(), text.end(),
                                           [](QChar c) { return c == u'\n' || c == u'\r'; });
  if (inBlock) Begin();
  RemoveRange(from, to);
  if (!text.isEmpty()) InsertPieces(from, text, Pieces::kText);
  if (inBlock) EndEditBlock();
}

void EditHistory::InsertLineSeparator(int from, int to) {
  if (from != to) Begin();
  RemoveRange(from, to);
  InsertPieces(from, u"\n", Pieces::kLineSeparator);
  if (from != to) EndEditBlock();
}

void EditHistory::InsertBlock(int from, int to) {
  Begin();
  RemoveRange(from, to);
  InsertPieces(from, u"\n", Pieces::kText);
  EndEditBlock();
}

void EditHistory::InsertFragment(int from, int to, QStringView text) {
  if (text.isEmpty()) return;
  Begin();
  RemoveRange(from, to);
  InsertPieces(from, text, Pieces::kFragment);
  EndEditBlock();
}

void EditHistory::Remove(int from, int to) {
  if (from == to) return;
  Begin();
  RemoveRange(from, to);
  EndEditBlock();
}

void EditHistory::InsertPieces(int position, QStringView text, Pieces kind) {
  BuildRuns();
  struct Piece {
    qsizetype offset;
    qsizetype length;
    bool isBreak;
  };
  std::vector<Piece> pieces;
  qsizetype start = 0;
  for (qsizetype i = 0; kind != Pieces::kLineSeparator && i < text.size(); ++i) {
    const int length = BreakLength(text, i);
    if (length == 0) continue;
    if (i > start) pieces.push_back({start, i - start, false});
    pieces.push_back({i, length, true});
    i += length - 1;
    start = i + 1;
  }
  if (text.size() > start) pieces.push_back({start, text.size() - start, false});

  // Where the document adds each piece to its buffer: a cursor adds the whole
  // text, then a separator for each break; a fragment adds piece by piece.
  std::vector<Run> added;
  const int textStart = bufferSize_;
  if (kind != Pieces::kFragment) bufferSize_ += static_cast<int>(text.size());
  for (const Piece& piece : pieces) {
    const int length = static_cast<int>(piece.length);
    if (piece.isBreak) {
      added.push_back({bufferSize_++, length, true});
    } else if (kind == Pieces::kFragment) {
      added.push_back({bufferSize_, length, false});
      bufferSize_ += length;
    } else {
      added.push_back({textStart + static_cast<int>(piece.offset), length, false});
    }
  }

  // A fragment pasted at the start sets the first block's format first,
  // unless it starts with a break.
  if (kind == Pieces::kFragment && position == 0 && !pieces.front().isBreak)
    Append({Kind::BlockFormatChanged, 0, 0, QString(), editBlock_ > 0, false, {}});

  text_.insert(position, text);
  int index = SplitRunsAt(position);
  runs_.insert(runs_.begin() + index, added.begin(), added.end());
  JoinRuns(index + static_cast<int>(added.size()));
  JoinRuns(index);
  changed_(position, QString(), static_cast<int>(text.size()));

  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Run& run = added[i];
    const QString pieceText = text.mid(pieces[i].offset, pieces[i].length).toString();
    const int at = position + static_cast<int>(pieces[i].offset);
    Append({run.isBreak ? Kind::BlockInserted : Kind::Inserted,
            at,
            run.bufferPosition,
            pieceText,
            editBlock_ > 0 || run.isBreak,
            false,
            {}});
  }
}

void EditHistory::RemoveRange(int from, int to) {
  BuildRuns();
  if (from == to) return;
  // A command for each run, each at `from` as the ones before are gone.
  const int first = SplitRunsAt(from);
  const int last = SplitRunsAt(to);
  std::vector<Command> removed;
  int at = from;
  for (int i = first; i < last; ++i) {
    const Run& run = runs_[i];
    removed.push_back({run.isBreak ? Kind::BlockRemoved : Kind::Removed,
                       from,
                       run.bufferPosition,
                       text_.mid(at, run.length),
                       editBlock_ > 0,
                       false,
                       {}});
    at += run.length;
  }
  runs_.erase(runs_.begin() + first, runs_.begin() + last);
  JoinRuns(first);
  const QString gone = text_.mid(from, to - from);
  text_.remove(from, to - from);
  changed_(from, gone, 0);
  for (Command& command : removed) Append(std::move(command));
}

void EditHistory::PutText(int position, const QString& text, int bufferPosition, bool isBreak) {
  text_.insert(position, text);
  const int index = SplitRunsAt(position);
  runs_.insert(runs_.begin() + index, {bufferPosition, static_cast<int>(text.size()), isBreak});
  JoinRuns(index + 1);
  JoinRuns(index);
  changed_(position, QString(), static_cast<int>(text.size()));
}

void EditHistory::TakeText(int position, int length) {
  const int first = SplitRunsAt(position);
  const int last = SplitRunsAt(position + length);
  runs_.erase(runs_.begin() + first, runs_.begin() + last);
  JoinRuns(first);
  const QString gone = text_.mid(position, length);
  text_.remove(position, length);
  changed_(position, gone, 0);
}

int EditHistory::SplitRunsAt(int position) {
  BuildRuns();
  int start = 0;
  for (std::size_t i = 0; i < runs_.size(); ++i) {
    if (start == position) return static_cast<int>(i);
    Run& run = runs_[i];
    if (position < start + run.length) {
      const int before = position - start;
      const Run after{run.bufferPosition + before, run.length - before, false};
      run.length = before;
      runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, after);
      return static_cast<int>(i) + 1;
    }
    start += run.length;
  }
  return static_cast<int>(runs_.size());
}

void EditHistory::JoinRuns(int index) {
  if (index <= 0 || index >= static_cast<int>(runs_.size())) return;
  Run& before = runs_[index - 1];
  const Run& after = runs_[index];
  if (before.isBreak || after.isBreak ||
      before.bufferPosition + before.length != after.bufferPosition)
    return;
  before.length += after.length;
  runs_.erase(runs_.begin() + index);
}

void EditHistory::Append(Command command) {
  if (done_ < static_cast<int>(commands_.size())) commands_.resize(done_);
  // The first command of a block away from the caret that began it records
  // that caret, for its undo to return to.
  if (editBlock_ > 0 && editBlockCursorPosition_ >= 0 &&
      command.position != editBlockCursorPosition_) {
    commands_.push_back(
        {Kind::CursorMoved, editBlockCursorPosition_, 0, QString(), true, false, {}});
    ++done_;
    editBlockCursorPosition_ = -1;
  }
  if (!commands_.empty()) {
    Command& last = commands_[done_ - 1];
    const bool sameBlock = last.blockPart && command.blockPart && !last.blockEnd;
    const bool bothSingle = !last.blockPart && !command.blockPart;
    const bool typedAfterBlock = command.kind == Kind::Inserted && last.kind == Kind::Inserted &&
                                 last.blockPart && !command.blockPart;
    if ((sameBlock || bothSingle || typedAfterBlock) && TryMerge(last, command)) return;
  }
  commands_.push_back(std::move(command));
  ++done_;
}

bool EditHistory::TryMerge(Command& last, const Command& next) {
  if (last.kind != next.kind) return false;
  const int length = static_cast<int>(last.text.size());
  const int nextLength = static_cast<int>(next.text.size());
  // The swaps after the merged edit keep pointing at their characters.
  const auto shift = [&](int from, int by) {
    for (Swap& swap : last.swaps)
      if (swap.position >= from) swap.position += by;
  };
  if (last.kind == Kind::Inserted && last.position + length == next.position &&
      last.bufferPosition + length == next.bufferPosition) {
    shift(next.position, nextLength);
    last.text += next.text;
    return true;
  }
  if (last.kind != Kind::Removed) return false;
  // Deleted forwards, at the same position.
  if (last.position == next.position && last.bufferPosition + length == next.bufferPosition) {
    shift(next.position + nextLength, -nextLength);
    last.text += next.text;
    return true;
  }
  // Deleted backwards, just before.
  if (next.position + nextLength == last.position &&
      next.bufferPosition + nextLength == last.bufferPosition) {
    shift(next.position + nextLength, -nextLength);
    std::vector<Swap> swaps = std::move(last.swaps);
    const QString text = next.text + last.text;
    last = next;
    last.text = text;
    last.swaps = std::move(swaps);
    return true;
  }
  return false;
}

std::optional<int> EditHistory::Undo() { return UndoRedo(true); }
std::optional<int> EditHistory::Redo() { return UndoRedo(false); }

std::optional<int> EditHistory::UndoRedo(bool undo) {
  if (undo ? done_ == 0 : done_ == static_cast<int>(commands_.size())) return std::nullopt;
  Begin();
  span_ = ChangedSpan();
  int editPos = -1;
  int editLength = -1;
  while (true) {
    if (undo) --done_;
    Command& c = commands_[done_];
    const int length = static_cast<int>(c.text.size());
    if (undo) {
      for (auto swap = c.swaps.rbegin(); swap != c.swaps.rend(); ++swap) {
        text_[swap->position] = swap->before;
        changed_(swap->position, QString(swap->after), 1);
      }
    }
    switch (c.kind) {
      case Kind::Inserted:
      case Kind::BlockInserted:
        TakeText(c.position, length);
        span_.Add(c.position, -length);
        c.kind = c.kind == Kind::Inserted ? Kind::Removed : Kind::BlockRemoved;
        editPos = c.position;
        editLength = 0;
        break;
      case Kind::Removed:
      case Kind::BlockRemoved:
        PutText(c.position, c.text, c.bufferPosition, c.kind == Kind::BlockRemoved);
        span_.Add(c.position, length);
        c.kind = c.kind == Kind::Removed ? Kind::Inserted : Kind::BlockInserted;
        if (editPos != c.position) editLength = 0;
        editPos = c.position;
        editLength += length;
        break;
      case Kind::CursorMoved:
        editPos = c.position;
        editLength = 0;
        break;
      case Kind::BlockFormatChanged:
        span_.Touch(0, FirstBlockLength());
        editPos = -1;
        break;
    }
    if (!undo) {
      for (const Swap& swap : c.swaps) {
        text_[swap.position] = swap.after;
        changed_(swap.position, QString(swap.before), 1);
      }
      ++done_;
    }
    const bool inBlock = done_ > 0 && done_ < static_cast<int>(commands_.size()) &&
                         commands_[done_].blockPart && commands_[done_ - 1].blockPart &&
                         !commands_[done_ - 1].blockEnd;
    if (!inBlock) break;
  }
  EndEditBlock();
  if (editPos >= 0) return editPos + editLength;
  if (span_.from >= 0) return std::min(span_.from + span_.length, static_cast<int>(text_.size()));
  return std::nullopt;
}

void EditHistory::ReplaceBreak(int position, QChar with) {
  const QChar before = text_[position];
  text_[position] = with;
  changed_(position, QString(before), 1);
  if (done_ > 0) commands_[done_ - 1].swaps.push_back({position, before, with});
}

int EditHistory::FirstBlockLength() const {
  int length = 0;
  for (const Run& run : runs_) {
    length += run.length;
    if (run.isBreak) return length;
  }
  return length + 1;  // and the document's last separator
}

void EditHistory::ChangedSpan::Add(int position, int addedOrRemoved) {
  if (from < 0) {
    from = position;
    oldLength = std::max(0, -addedOrRemoved);
    length = std::max(0, addedOrRemoved);
    return;
  }
  const int added = std::max(0, addedOrRemoved);
  int removed = std::max(0, -addedOrRemoved);
  int gap = 0;
  if (position + removed < from)
    gap = from - position - removed;
  else if (position > from + length)
    gap = position - (from + length);
  const int overlapStart = std::max(position, from);
  const int overlapEnd = std::min(position + removed, from + length);
  const int removedInside = std::max(0, overlapEnd - overlapStart);
  removed -= removedInside;
  from = std::min(from, position);
  oldLength += removed + gap;
  length += added - removedInside + gap;
}

void EditHistory::ChangedSpan::Touch(int position, int touched) {
  if (from < 0) {
    from = position;
    oldLength = length = touched;
    return;
  }
  const int start = std::min(position, from);
  const int end = std::max(position + touched, from + length);
  const int growth = std::max(0, end - start - length);
  from = start;
  oldLength += growth;
  length += growth;
}

}  // namespace kelvaro
