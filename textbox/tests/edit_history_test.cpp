// The edit history held to a text document: the same edits, undos and redos
// made through a QTextCursor on a QTextDocument, as the text box made them,
// and through an EditHistory on a string; after every step the texts, the
// caret an undo or redo gives and what can be undone or redone must agree.
#include "textbox/edit_history.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <optional>
#include <random>

using kelvaro::EditHistory;

namespace {

constexpr int kSeeds = 40;
constexpr int kStepsPerSeed = 5000;
// Beyond this many code units the walk deletes more than it adds.
constexpr int kLongText = 120;

// The document's text with its separators and line separators as "\n".
QString DocumentText(const QTextDocument& document) {
  QString text = document.toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

// The string's text with each break as one "\n".
QString OneUnitBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

QString Visible(QString text) {
  text.replace(u'\r', QStringLiteral("\\r"));
  text.replace(u'\n', QStringLiteral("\\n"));
  return QLatin1Char('"') + text + QLatin1Char('"');
}

QString Show(std::optional<int> position) {
  return position ? QString::number(*position) : QStringLiteral("none");
}

// A document and an EditHistory edited alike, as the text box edits them.
class Twins {
 public:
  explicit Twins(const QString& text)
      : text_(text),
        shadow_(text),
        history_(text_, [this](int position, const QString& removed, int added) {
          Told(position, removed, added);
        }) {
    document_.setPlainText(text_);
    Log(QStringLiteral("set %1").arg(Visible(text)));
  }

  const QString& text() const { return text_; }
  int caret() const { return caret_; }
  const QStringList& log() const { return log_; }

  // The document position of a position of the string: a "\r\n" before it
  // is one position in the document.
  int DocumentPosition(int position) const {
    int pairs = 0;
    for (int i = 0; i + 1 < position; ++i)
      if (text_[i] == u'\r' && text_[i + 1] == u'\n') ++pairs;
    return position - pairs;
  }
  // A position neither within "\r\n" nor within a surrogate pair.
  int Valid(int position) const {
    position = std::clamp(position, 0, static_cast<int>(text_.size()));
    if (position > 0 && position < text_.size() &&
        ((text_[position - 1] == u'\r' && text_[position] == u'\n') ||
         (text_[position - 1].isHighSurrogate() && text_[position].isLowSurrogate())))
      --position;
    return position;
  }

  void Select(int anchor, int caret) {
    anchor_ = Valid(anchor);
    caret_ = Valid(caret);
    Log(QStringLiteral("select %1..%2").arg(anchor_).arg(caret_));
  }

  void Type(const QString& text) {
    Log(QStringLiteral("type %1").arg(Visible(text)));
    QTextCursor cursor = Cursor();
    cursor.insertText(text);
    const auto [from, to] = Selection();
    history_.InsertText(from, to, text);
    Inserted(from, static_cast<int>(text.size()));
  }

  void Enter() {
    Log(QStringLiteral("enter"));
    Cursor().insertBlock();
    const auto [from, to] = Selection();
    history_.InsertBlock(from, to);
    Inserted(from, 1);
  }

  void ShiftEnter() {
    Log(QStringLiteral("shift+enter"));
    Cursor().insertText(QString(QChar::LineSeparator));
    const auto [from, to] = Selection();
    history_.InsertLineSeparator(from, to);
    Inserted(from, 1);
  }

  // Backspace or Delete, joined to the deletion before as the box joins it.
  void DeleteCharacter(bool backwards) {
    const auto [selectedFrom, selectedTo] = Selection();
    const bool selected = selectedFrom != selectedTo;
    int from = selectedFrom;
    int to = selectedTo;
    if (!selected && backwards && caret_ > 0)
      from = caret_ - (caret_ >= 2 && ((text_[caret_ - 2] == u'\r' && text_[caret_ - 1] == u'\n') ||
                                       text_[caret_ - 1].isLowSurrogate())
                           ? 2
                           : 1);
    if (!selected && !backwards && caret_ < text_.size())
      to = caret_ +
           (caret_ + 1 < text_.size() && ((text_[caret_] == u'\r' && text_[caret_ + 1] == u'\n') ||
                                          text_[caret_].isHighSurrogate())
                ? 2
                : 1);
    const bool joins = !selected && from < to && lastDeletion_ && lastDeletion_->first == edits_ &&
                       (from == lastDeletion_->second || to == lastDeletion_->second);
    Log(QStringLiteral("%1 %2..%3%4")
            .arg(backwards ? "backspace" : "delete")
            .arg(from)
            .arg(to)
            .arg(joins ? " joined" : ""));
    QTextCursor cursor = Cursor();
    const int before = document_.characterCount();
    if (joins)
      cursor.joinPreviousEditBlock();
    else
      cursor.beginEditBlock();
    if (backwards)
      cursor.deletePreviousChar();
    else
      cursor.deleteChar();
    cursor.endEditBlock();
    if (before - document_.characterCount() != DocumentPosition(to) - DocumentPosition(from))
      mismatch_ = QStringLiteral("the walk's deletion range is not the document's");
    if (joins)
      history_.JoinPreviousEditBlock();
    else
      history_.BeginEditBlock(caret_);
    history_.Remove(from, to);
    history_.EndEditBlock();
    if (from < to) ++edits_;
    caret_ = anchor_ = from;
    Mend(from);
    lastDeletion_.reset();
    if (!selected) lastDeletion_ = std::pair{edits_, caret_};
  }

  // Ctrl+Backspace, Ctrl+Delete, cut and the Delete entry: the selection goes.
  void RemoveSelection() {
    const auto [from, to] = Selection();
    Log(QStringLiteral("remove %1..%2").arg(from).arg(to));
    Cursor().removeSelectedText();
    history_.Remove(from, to);
    Removed(from, to);
  }

  // An input method's commit, replacing [from, to) of the text left once
  // the selection is gone.
  void Commit(int replacedFrom, int replacedTo, const QString& text) {
    const auto [from, to] = Selection();
    QTextCursor cursor = Cursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    history_.BeginEditBlock(caret_);
    history_.Remove(from, to);
    Removed(from, to);
    replacedFrom = Valid(replacedFrom);
    replacedTo = std::max(replacedFrom, Valid(replacedTo));
    Log(QStringLiteral("commit %1 over %2..%3")
            .arg(Visible(text))
            .arg(replacedFrom)
            .arg(replacedTo));
    QTextCursor replaced = cursor;
    replaced.setPosition(DocumentPosition(replacedFrom));
    replaced.setPosition(DocumentPosition(replacedTo), QTextCursor::KeepAnchor);
    replaced.insertText(text);
    cursor.endEditBlock();
    history_.InsertText(replacedFrom, replacedTo, text);
    Inserted(replacedFrom, static_cast<int>(text.size()));
    history_.EndEditBlock();
  }

  void Paste(const QString& text) {
    Log(QStringLiteral("paste %1").arg(Visible(text)));
    Cursor().insertFragment(QTextDocumentFragment::fromPlainText(text));
    const auto [from, to] = Selection();
    history_.InsertFragment(from, to, text);
    Inserted(from, static_cast<int>(text.size()));
  }

  // A drop at `at`, moving the selection there or copying the text.
  void Drop(int at, const QString& text, bool moving) {
    at = Valid(at);
    const auto [from, to] = Selection();
    Log(QStringLiteral("drop %1 at %2%3").arg(Visible(text)).arg(at).arg(moving ? " moving" : ""));
    QTextCursor selection = Cursor();
    QTextCursor target(&document_);
    target.setPosition(DocumentPosition(at));
    target.beginEditBlock();
    history_.BeginEditBlock(at);
    if (moving) {
      selection.removeSelectedText();
      history_.Remove(from, to);
      Removed(from, to);
      at = at < from ? at : at < to ? from : at - (to - from);
    }
    target.insertText(text);
    target.endEditBlock();
    history_.InsertText(at, at, text);
    Inserted(at, static_cast<int>(text.size()));
    history_.EndEditBlock();
  }

  void ReplaceAll(const QString& text) {
    Log(QStringLiteral("replace all by %1").arg(Visible(text)));
    QTextCursor cursor = Cursor();
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.insertText(text);
    cursor.endEditBlock();
    history_.BeginEditBlock(caret_);
    const int size = static_cast<int>(text_.size());
    history_.Remove(0, size);
    Removed(0, size);
    history_.InsertText(0, 0, text);
    Inserted(0, static_cast<int>(text.size()));
    history_.EndEditBlock();
    caret_ = anchor_ = 0;
  }

  // An accessibility client's replaceText: two edits, no block.
  void AccessibleReplace(const QString& text) {
    const auto [from, to] = Selection();
    Log(QStringLiteral("accessible replace %1..%2 by %3").arg(from).arg(to).arg(Visible(text)));
    QTextCursor edit = Cursor();
    edit.removeSelectedText();
    edit.insertText(text);
    history_.Remove(from, to);
    Removed(from, to);
    history_.InsertText(from, from, text);
    Inserted(from, static_cast<int>(text.size()));
  }

  void Undo(bool undo) {
    Log(undo ? QStringLiteral("undo") : QStringLiteral("redo"));
    QTextCursor cursor = Cursor();
    const bool available = undo ? document_.isUndoAvailable() : document_.isRedoAvailable();
    if (undo)
      document_.undo(&cursor);
    else
      document_.redo(&cursor);
    const std::optional<int> caret = undo ? history_.Undo() : history_.Redo();
    const std::optional<int> expected =
        available ? std::optional<int>(cursor.position()) : std::nullopt;
    const std::optional<int> got = caret ? std::optional<int>(DocumentPosition(*caret)) : caret;
    if (got != expected)
      mismatch_ = QStringLiteral("the caret after %1 is %2, the document's %3")
                      .arg(undo ? "undo" : "redo", Show(got), Show(expected));
    if (caret) caret_ = anchor_ = *caret;
    if (available) ++edits_;
  }

  void SetPlainText() {
    Log(QStringLiteral("set the text anew"));
    document_.setPlainText(text_);
    history_.Clear();
    caret_ = anchor_ = 0;
    ++edits_;
  }

  // How the two differ, or an empty string.
  QString Difference() {
    if (!mismatch_.isEmpty()) return std::exchange(mismatch_, QString());
    const QString expected = DocumentText(document_);
    if (OneUnitBreaks(text_) != expected)
      return QStringLiteral("the text is %1, the document's %2")
          .arg(Visible(text_), Visible(expected));
    if (history_.IsUndoAvailable() != document_.isUndoAvailable())
      return QStringLiteral("undo available: %1, the document's %2")
          .arg(history_.IsUndoAvailable())
          .arg(document_.isUndoAvailable());
    if (history_.IsRedoAvailable() != document_.isRedoAvailable())
      return QStringLiteral("redo available: %1, the document's %2")
          .arg(history_.IsRedoAvailable())
          .arg(document_.isRedoAvailable());
    return QString();
  }

 private:
  // The selection as the box makes a document cursor of it: placed within
  // an edit block.
  QTextCursor Cursor() {
    QTextCursor cursor(&document_);
    cursor.beginEditBlock();
    cursor.setPosition(DocumentPosition(anchor_));
    cursor.setPosition(DocumentPosition(caret_), QTextCursor::KeepAnchor);
    cursor.endEditBlock();
    return cursor;
  }
  std::pair<int, int> Selection() const {
    return {std::min(anchor_, caret_), std::max(anchor_, caret_)};
  }

  void Inserted(int at, int length) {
    caret_ = anchor_ = at + length;
    Mend(at);
    Mend(at + length);
    ++edits_;
  }
  void Removed(int from, int to) {
    caret_ = anchor_ = from;
    Mend(from);
    if (from < to) ++edits_;
  }
  // The box keeps a lone "\r" that comes to stand before a "\n" a break of
  // its own by making it a "\n" too, and so on for a "\r" before that.
  void Mend(int at) {
    for (; at > 0 && at < text_.size() && text_[at - 1] == u'\r' && text_[at] == u'\n'; --at) {
      Log(QStringLiteral("  mend %1").arg(at - 1));
      history_.ReplaceBreak(at - 1, u'\n');
    }
  }

  // What the history tells of a change must be what changed.
  void Told(int position, const QString& removedText, int added) {
    const int removed = static_cast<int>(removedText.size());
    const bool right =
        text_.size() == shadow_.size() - removed + added &&
        QStringView(shadow_).mid(position, removed) == removedText &&
        QStringView(text_).left(position) == QStringView(shadow_).left(position) &&
        QStringView(text_).mid(position + added) == QStringView(shadow_).mid(position + removed);
    if (!right && mismatch_.isEmpty())
      mismatch_ =
          QStringLiteral("told of a change at %1 (-%2 +%3) that is not the change of %4 to %5")
              .arg(position)
              .arg(removed)
              .arg(added)
              .arg(Visible(shadow_), Visible(text_));
    shadow_ = text_;
  }

  void Log(const QString& line) { log_ << line; }

  QTextDocument document_;
  QString text_;
  QString shadow_;
  EditHistory history_;
  int caret_ = 0;
  int anchor_ = 0;
  int edits_ = 0;
  std::optional<std::pair<int, int>> lastDeletion_;  // the edit count and the caret after it
  QString mismatch_;
  QStringList log_;
};

QString Failure(const QString& what, const Twins& twins, int lastLines) {
  QStringList lines = twins.log();
  if (lines.size() > lastLines) lines = lines.mid(lines.size() - lastLines);
  return what + QStringLiteral("\nafter:\n  ") + lines.join(QStringLiteral("\n  "));
}

const QStringList kWords = {
    QStringLiteral("a"),    QStringLiteral("word"),   QStringLiteral(" "),
    QStringLiteral("字"),   QStringLiteral("你好"),   QStringLiteral("😀"),
    QStringLiteral("x\ny"), QStringLiteral("\n"),     QStringLiteral("\r\n"),
    QStringLiteral("\r"),   QStringLiteral("a\r\nb"), QStringLiteral("c\rd"),
    QStringLiteral("，"),   QStringLiteral("end\r")};

// One step of a scripted case: "type x", "move 3", "select 1 4",
// "backspace", "delete", "enter", "paste x", "undo", "redo".
void RunScriptStep(Twins& twins, const QString& step) {
  const QString op = step.section(u' ', 0, 0);
  const QString argument = step.section(u' ', 1);
  if (op == u"type") {
    twins.Type(argument);
  } else if (op == u"move") {
    twins.Select(argument.toInt(), argument.toInt());
  } else if (op == u"select") {
    twins.Select(argument.section(u' ', 0, 0).toInt(), argument.section(u' ', 1, 1).toInt());
  } else if (op == u"backspace" || op == u"delete") {
    twins.DeleteCharacter(op == u"backspace");
  } else if (op == u"enter") {
    twins.Enter();
  } else if (op == u"shift+enter") {
    twins.ShiftEnter();
  } else if (op == u"paste") {
    twins.Paste(argument);
  } else if (op == u"undo" || op == u"redo") {
    twins.Undo(op == u"undo");
  } else {
    QFAIL(qPrintable(QStringLiteral("no such step: ") + step));
  }
}

}  // namespace

class EditHistoryTest : public QObject {
  Q_OBJECT

 private slots:
  // Cases worth naming: the script, then undo until nothing is left, each
  // step held to the document; the document's count of undo steps is given.
  void merging_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("undoSteps");
    const auto row = [](const char* name, const char* text, const char* script, int steps) {
      QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(script).split(u'|')
                          << steps;
    };
    row("typing a word", "", "type w|type o|type r|type d", 1);
    row("typing after moving away and back", "ab", "move 2|type x|move 0|move 3|type y", 1);
    row("typing elsewhere", "ab", "move 2|type x|move 0|type y", 2);
    row("Backspace run joined", "hello", "move 5|backspace|backspace|backspace", 1);
    row("Delete run joined", "hello", "move 0|delete|delete", 1);
    row("Delete, Backspace, Delete joined", "abcd", "move 2|delete|backspace|delete", 1);
    row("Backspace after typing", "", "type a|type b|backspace", 2);
    row("Backspace over a CR LF break", "a\r\nb", "move 3|backspace|backspace", 1);
    row("paste then type", "ab", "move 1|paste xy|type z", 1);
    row("paste with a break then type", "ab", "move 1|paste x\ny|type z", 1);
    row("typing a break then type", "ab", "move 1|type x\ny|type z", 2);
    row("paste at the start", "ab\ncd", "move 0|paste xy|undo|redo", 1);
    row("paste at the start of one line", "ab", "move 0|paste xy|undo|redo|type z", 1);
    row("paste over a selection at the start", "ab\ncd", "select 0 1|paste x|undo|redo", 1);
    row("undo back to the start then type", "ab", "type x|type y|undo|type z", 1);
    row("Enter between typing", "", "type a|enter|type b", 3);
    row("Shift+Enter is typing", "", "type a|shift+enter|type b", 1);
    row("typing a CR LF break", "ab", "move 1|type \r\n|type c", 2);
    row("a CR meeting a line feed", "a\rb\nc", "move 2|delete|undo|redo", 1);
    row("typing after a CR", "a\r", "move 2|type \nb|undo|redo", 1);
  }
  void merging() {
    QFETCH(QString, text);
    QFETCH(QStringList, script);
    QFETCH(int, undoSteps);
    Twins twins(text);
    for (const QString& step : script) {
      RunScriptStep(twins, step);
      const QString difference = twins.Difference();
      if (!difference.isEmpty()) QFAIL(qPrintable(Failure(difference, twins, 50)));
    }
    int steps = 0;
    for (; steps < 100; ++steps) {
      const QString before = twins.text();
      twins.Undo(true);
      const QString difference = twins.Difference();
      if (!difference.isEmpty()) QFAIL(qPrintable(Failure(difference, twins, 50)));
      if (twins.text() == before) break;
    }
    QCOMPARE(steps, undoSteps);
  }

  void walk_data() {
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= kSeeds; ++seed)
      QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
  }
  void walk() {
    QFETCH(unsigned, seed);
    std::mt19937 random(seed);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const auto words = [&] {
      QString text;
      for (int n = 1 + below(3); n > 0; --n) text += kWords[below(static_cast<int>(kWords.size()))];
      return text;
    };
    Twins twins(words());
    int undoRun = 0;  // undos or redos still to make in a row
    bool undoing = true;
    for (int step = 0; step < kStepsPerSeed; ++step) {
      const int size = static_cast<int>(twins.text().size());
      const auto near = [&](int position) { return position - 3 + below(7); };
      const int roll = undoRun > 0 ? -1 : below(size > kLongText ? 60 : 100);
      switch (roll < 0 ? -1 : roll / 5) {
        case -1:
          --undoRun;
          twins.Undo(undoing);
          break;
        case 0:
        case 1:
          twins.Select(twins.caret(), twins.caret());
          twins.Type(kWords[below(4)]);  // plain typing, the most common edit
          break;
        case 2:
          twins.Type(words());
          break;
        case 3:
          if (roll % 2 == 0)
            twins.Enter();
          else
            twins.ShiftEnter();
          break;
        case 4:
        case 5:
          twins.DeleteCharacter(roll % 2 == 0);
          break;
        case 6:
          twins.Undo(true);
          break;
        case 7:
          twins.Undo(roll % 3 != 0);
          break;
        case 8: {
          const int anchor = below(size + 1);
          twins.Select(anchor, roll % 2 == 0 ? below(size + 1) : anchor);
        } break;
        case 9:
          twins.Select(twins.caret(), near(twins.caret()));
          twins.RemoveSelection();
          break;
        case 10:
          twins.Select(near(twins.caret()), near(twins.caret()));
          twins.Commit(near(twins.caret()), near(twins.caret()), kWords[below(6)]);
          break;
        case 11:
          twins.Paste(words());
          break;
        case 12:
          twins.Drop(below(size + 1), words(), roll % 2 == 0);
          break;
        case 13:
          if (roll % 5 == 0)
            twins.SetPlainText();
          else if (roll % 5 == 1)
            twins.ReplaceAll(words());
          else
            twins.AccessibleReplace(words());
          break;
        case 14:
          twins.Select(twins.caret(), twins.caret() + (roll % 2 == 0 ? 1 : -1));
          break;
        case 15:
          undoRun = below(12);
          undoing = roll % 2 == 0;
          twins.Undo(undoing);
          break;
        default:
          twins.Undo(roll % 2 == 0);
          break;
      }
      const QString difference = twins.Difference();
      if (!difference.isEmpty())
        QFAIL(qPrintable(
            Failure(QStringLiteral("seed %1, step %2: %3").arg(seed).arg(step).arg(difference),
                    twins, 60)));
    }
  }
};

QTEST_MAIN(EditHistoryTest)
#include "edit_history_test.moc"
