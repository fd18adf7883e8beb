#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

namespace kelvaro {

// The edits of a text as a text document records them for undo: the same
// undo steps, the same merging of edits into one step and the same caret
// after an undo or a redo as a QTextDocument filled by setPlainText and
// edited through a QTextCursor. It makes the edits on the text itself.
//
// The text holds a paragraph break as "\n", a lone "\r" or "\r\n"; each is
// one block separator of the document. Positions and lengths are in the
// text's code units; no position lies between "\r" and "\n".
//
// The calls that equal a text cursor's, for a cursor selecting [from, to)
// (from == to without a selection):
//   insertText(text)                      InsertText(from, to, text)
//   insertText(QChar::LineSeparator)      InsertLineSeparator(from, to)
//   insertBlock()                         InsertBlock(from, to)
//   insertFragment(fromPlainText(text))   InsertFragment(from, to, text)
//   removeSelectedText(), deleteChar(),
//   deletePreviousChar()                  Remove(from, to)
//   beginEditBlock() at the caret         BeginEditBlock(caret)
//   joinPreviousEditBlock()               JoinPreviousEditBlock()
//   endEditBlock()                        EndEditBlock()
//   document undo(&cursor), redo(&cursor) Undo(), Redo()
//   document setPlainText(text)           Clear()
// A cursor's deleteChar() and deletePreviousChar() record as Remove() only
// within an edit block, where the text box makes them.
class EditHistory {
 public:
  // `text` is edited in place; `changed(position, removed, added)` is called
  // after every change of it, with the text that went and the number of code
  // units that came at position: once for an edit, once for each command an
  // undo or redo takes back or makes again.
  EditHistory(QString& text,
              std::function<void(int position, const QString& removed, int added)> changed);

  // Forgets the history, as setPlainText of the text does: every break of
  // the text is then a block separator.
  void Clear();

  void BeginEditBlock(int cursorPosition);
  void JoinPreviousEditBlock();
  void EndEditBlock();

  // Breaks in `text` ("\n", "\r", "\r\n") are block separators.
  void InsertText(int from, int to, QStringView text);
  // A "\n" that the document holds as a line separator: a character of the
  // text, not a block separator, typed and merged as any other character.
  void InsertLineSeparator(int from, int to);
  void InsertBlock(int from, int to);
  void InsertFragment(int from, int to, QStringView text);
  void Remove(int from, int to);

  // The caret the document's undo(&cursor) or redo(&cursor) gives, or
  // nullopt where it leaves the cursor alone (nothing to undo or redo).
  std::optional<int> Undo();
  std::optional<int> Redo();
  bool IsUndoAvailable() const { return done_ > 0; }
  bool IsRedoAvailable() const { return done_ < static_cast<int>(commands_.size()); }

  // Swaps the break character at `position` (a lone "\r") for `with` as part
  // of the last recorded edit: no step of its own, no effect on merging;
  // undone and redone with that edit. A "\r" that comes to stand before a
  // "\n" is swapped so; a "\r" before it then too, and so on.
  void ReplaceBreak(int position, QChar with);

 private:
  // A stretch of the text and where its characters were first added to the
  // document's string buffer: a block separator, or characters whose
  // buffer positions follow each other.
  struct Run {
    int bufferPosition;
    int length;
    bool isBreak;
  };
  enum class Kind {
    Inserted,
    Removed,
    BlockInserted,
    BlockRemoved,
    CursorMoved,
    BlockFormatChanged
  };
  struct Swap {
    int position;
    QChar before;
    QChar after;
  };
  struct Command {
    Kind kind;
    int position;
    int bufferPosition;
    QString text;  // what it adds or took away
    bool blockPart;
    bool blockEnd;
    std::vector<Swap> swaps;
  };
  // The document's record of the span its change touched, for the caret
  // of an undo that ends on no edit of the text.
  struct ChangedSpan {
    int from = -1;
    int oldLength = 0;
    int length = 0;
    void Add(int position, int addedOrRemoved);
    void Touch(int position, int length);
  };

  // How an insertion's text goes into the document: as a cursor inserts it,
  // as one line separator, or as a plain-text fragment.
  enum class Pieces { kText, kLineSeparator, kFragment };

  // Finds the runs of the text as Clear left it, when first needed.
  void BuildRuns();
  void Begin() { ++editBlock_; }
  void Append(Command command);
  static bool TryMerge(Command& last, const Command& next);
  void InsertPieces(int position, QStringView text, Pieces kind);
  void RemoveRange(int from, int to);
  // Change the text and its runs, telling the box.
  void PutText(int position, const QString& text, int bufferPosition, bool isBreak);
  void TakeText(int position, int length);
  // The index of the run that starts at `position`, splitting one there.
  int SplitRunsAt(int position);
  // Joins the run at `index` to the one before where their characters follow
  // each other in the buffer.
  void JoinRuns(int index);
  int FirstBlockLength() const;
  std::optional<int> UndoRedo(bool undo);

  QString& text_;
  std::function<void(int, const QString&, int)> changed_;
  std::vector<Run> runs_;
  bool runsBuilt_ = false;
  std::vector<Command> commands_;
  int done_ = 0;  // the commands before this index are done, the rest undone
  int bufferSize_ = 0;
  int editBlock_ = 0;
  int editBlockCursorPosition_ = -1;
  ChangedSpan span_;
};

}  // namespace kelvaro
