// The walk's differences between the box and a plain text edit, in one list.
// The plain text edit is a PlainTextBox: Qt's own crashes now and then on a
// drop, which the walk makes often.
//
// Intended, each where the walk allows it:
// - Input-method rectangles and font are not compared: the box gives them in
//   its own coordinates, a plain text edit in its viewport's and with its
//   document's font (kSameAnswers).
// - Where a plain text edit answers the text before or after an item with the
//   same item again (before the first, after the last, after one that ends at
//   a line feed), the box answers none or the next one (CompareAccessible).
// - While a text is being composed, a plain text edit finds characters and
//   words in a layout that holds the composed text with positions of a
//   document that does not; the box's answers are only checked to lie in the
//   text (CompareAccessible).
// - Where right-to-left letters show, a text layout's glyph boxes do not match
//   its own hit testing, in a plain text edit as in the box: no clicks, drags
//   or drops, and a point's character is only checked to lie in the text
//   (RunStep, CompareAccessible).
// - Shift+Return: a plain text edit keeps a line separator inside its
//   paragraph, the box starts a new one (RunStep).
// - Line breaks: the box keeps a CR LF as two code units and a lone CR as
//   it came, where a plain text edit holds one paragraph break for each; the
//   box's positions are mapped to the plain text edit's, and its texts are
//   compared with each break as a line feed (BreakMap).
// - Attribute runs: a plain text edit splits a paragraph where it was
//   edited, the box gives one run a paragraph (CompareAccessible).
// - Line geometry: the box shows whole lines only, and at heights where the
//   viewport holds one more whole line with the lines closer, it sets them
//   closer than a plain text edit. Each box is clicked at its own character
//   boxes, and rectangles are only checked against the box's own hit tests
//   (RunStep, CompareAccessible).
//
// Not yet the same, so left out of the walk: tabs (a line is wrapped with a
// tab as wide as a space, not to the next tab stop; kPieces) and Page Up and
// Page Down near the ends of a text (kKeys).
#include "text_box_walk.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QMetaEnum>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleHints>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

#include "textbox/line_breaks.h"
#include "textbox/plain_text_box.h"
#include "textbox/tests/text_box_test_support.h"

namespace kelvaro {
namespace {

long long NowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

constexpr QSize kBoxSize(300, 120);
// Short enough for double and triple clicks made on purpose, long enough that
// the clicks of two steps never make one.
constexpr int kDoubleClickInterval = 100;
// Texts grow by typing and pasting; a longer one is set anew.
constexpr int kMostCharacters = 60;

// Pieces that texts are made of: words, Chinese, every kind of line break,
// a surrogate pair, combining marks, a run without break opportunities,
// punctuation, right-to-left text. Not yet held to a plain text edit, so
// left out: tabs (a line is wrapped with a tab as wide as a space, not to the
// next tab stop).
const QString kPieces[] = {
    QStringLiteral("zhōng"),      QStringLiteral(" "),
    QStringLiteral("guó rén"),    QStringLiteral("中国"),
    QStringLiteral("。"),         QStringLiteral("\n"),
    QStringLiteral("\r\n"),       QStringLiteral("\r"),
    QStringLiteral("\U00020000"), QStringLiteral("e\u0301\u0302"),
    QStringLiteral("שלום עולם"),  QStringLiteral("abcdefghijklmnopqrstuvwxyzabcdefghij"),
    QStringLiteral("Hi! Yes. "),  QStringLiteral("\n\n"),
    QStringLiteral("a"),
};

struct KeyPress {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
};

// Editing and moving keys, each also with Shift (to select) in the walk. Not
// yet held to a plain text edit, so left out: Page Up and Page Down (near
// the ends of a text, where a page cannot scroll, the caret goes elsewhere).
constexpr KeyPress kKeys[] = {
    {Qt::Key_Backspace, Qt::NoModifier},
    {Qt::Key_Delete, Qt::NoModifier},
    {Qt::Key_Backspace, Qt::ControlModifier},
    {Qt::Key_Delete, Qt::ControlModifier},
    {Qt::Key_Left, Qt::NoModifier},
    {Qt::Key_Right, Qt::NoModifier},
    {Qt::Key_Up, Qt::NoModifier},
    {Qt::Key_Down, Qt::NoModifier},
    {Qt::Key_Home, Qt::NoModifier},
    {Qt::Key_End, Qt::NoModifier},
    {Qt::Key_Left, Qt::ControlModifier},
    {Qt::Key_Right, Qt::ControlModifier},
    {Qt::Key_Home, Qt::ControlModifier},
    {Qt::Key_End, Qt::ControlModifier},
    {Qt::Key_Return, Qt::NoModifier},
    {Qt::Key_Z, Qt::ControlModifier},
    {Qt::Key_Y, Qt::ControlModifier},
    {Qt::Key_A, Qt::ControlModifier},
    {Qt::Key_C, Qt::ControlModifier},
    {Qt::Key_X, Qt::ControlModifier},
    {Qt::Key_V, Qt::ControlModifier},
};

const std::pair<QAccessible::TextBoundaryType, const char*> kBoundaries[] = {
    {QAccessible::CharBoundary, "characters"},    {QAccessible::WordBoundary, "words"},
    {QAccessible::SentenceBoundary, "sentences"}, {QAccessible::ParagraphBoundary, "paragraphs"},
    {QAccessible::LineBoundary, "lines"},         {QAccessible::NoBoundary, "the whole text"},
};

// The input-method answers that must be the same in both boxes. Intended
// differences, not compared: the rectangles (the box gives them in its own
// coordinates, a plain text edit in its viewport's) and the font (a plain
// text edit gives its document's).
constexpr Qt::InputMethodQuery kSameAnswers[] = {
    Qt::ImEnabled,           Qt::ImCursorPosition,  Qt::ImSurroundingText, Qt::ImCurrentSelection,
    Qt::ImMaximumTextLength, Qt::ImAnchorPosition,  Qt::ImHints,           Qt::ImAbsolutePosition,
    Qt::ImTextBeforeCursor,  Qt::ImTextAfterCursor, Qt::ImReadOnly,        Qt::ImEnterKeyType,
};

QString Show(const QString& text) {
  QString shown;
  for (const QChar c : text) {
    if (c.unicode() < 0x20 || c.isSurrogate() || c.category() == QChar::Mark_NonSpacing) {
      shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    } else {
      shown += c;
    }
  }
  return u'"' + shown + u'"';
}

QString Show(const QVariant& value) {
  return value.typeId() == QMetaType::QString
             ? Show(value.toString())
             : QStringLiteral("%1 (%2)").arg(value.toString(), value.typeName());
}

bool HasRightToLeft(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
  });
}

QAccessibleTextInterface* TextOf(QWidget* box) {
  return QAccessible::queryAccessibleInterface(box)->textInterface();
}

QAccessibleEditableTextInterface* EditableTextOf(QWidget* box) {
  return QAccessible::queryAccessibleInterface(box)->editableTextInterface();
}

}  // namespace

Watchdog::Watchdog(int limitMilliseconds) : limit_(limitMilliseconds) {
  thread_ = std::thread([this] {
    while (running_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      const long long deadline = deadline_;
      if (deadline != 0 && NowMilliseconds() > deadline) {
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "watchdog: over %d ms in %s\n", limit_, label_.constData());
        std::fflush(stderr);
        std::_Exit(3);
      }
    }
  });
}

Watchdog::~Watchdog() {
  running_ = false;
  thread_.join();
}

void Watchdog::Start(const QString& label) {
  {
    std::lock_guard lock(mutex_);
    label_ = label.toUtf8();
  }
  deadline_ = NowMilliseconds() + limit_;
}

void Watchdog::Stop() { deadline_ = 0; }

template <typename F>
auto TextBoxWalk::Timed(const QString& what, F call) {
  watchdog_.Start(where_ + u' ' + what);
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    watchdog_.Stop();
  } else {
    auto result = call();
    watchdog_.Stop();
    return result;
  }
}

TextBoxWalk::TextBoxWalk(Pick pick, Watchdog& watchdog, Check check)
    : pick_(std::move(pick)), watchdog_(watchdog), parity_(check == Check::kParity) {
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(kDoubleClickInterval);
  QAccessible::setActive(true);
  MakeBoxes(RandomText(pick_(6)));
}

TextBoxWalk::~TextBoxWalk() = default;

void TextBoxWalk::MakeBoxes(const QString& text) {
  // What the old box signals as it goes is no edit of the walk's.
  if (box_) QObject::disconnect(box_, &LongTextBox::textChanged, nullptr, nullptr);
  window_.reset();
  window_ = std::make_unique<QWidget>();
  plain_ = new PlainTextBox(window_.get());
  plain_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  plain_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  plain_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  plain_->setTabChangesFocus(true);
  box_ = new LongTextBox(window_.get());
  for (QWidget* box : {static_cast<QWidget*>(plain_), static_cast<QWidget*>(box_)}) {
    box->setFont(SerifCjkFont(14));
    box->resize(kBoxSize);
  }
  box_->move(0, kBoxSize.height() + 10);
  window_->resize(kBoxSize.width(), 2 * kBoxSize.height() + 10);
  window_->show();
  // Each edit signals once at most, and every change of the text signals.
  signalledText_.clear();
  // The change it reports, applied to the text it signalled before, gives
  // the text it holds.
  QObject::connect(box_, &LongTextBox::textChanged, box_, [this] {
    ++signals_;
    const LongTextBox::Change change = box_->lastChange();
    const QString& text = box_->toPlainText();
    const QString changed =
        QString(signalledText_)
            .replace(change.position, change.removed, text.mid(change.position, change.added));
    if (changed != text && !wrongChange_) {
      wrongChange_ = QStringLiteral("the box reported the change (%1, %2, %3) from %4 to %5")
                         .arg(change.position)
                         .arg(change.removed)
                         .arg(change.added)
                         .arg(Show(signalledText_), Show(text));
    }
    signalledText_ = text;
  });
  plain_->setPlainText(text);
  box_->setPlainText(text);
}

QString TextBoxWalk::RandomText(int pieces) {
  QString text;
  for (int i = 0; i < pieces; ++i) text += kPieces[pick_(std::size(kPieces))];
  return text;
}

std::optional<QString> TextBoxWalk::Step(const QString& where) {
  where_ = where;
  RunStep();
  return Compare();
}

void TextBoxWalk::RunStep() {
  QWidget* boxes[] = {plain_, box_};
  const int size = static_cast<int>(plain_->toPlainText().size());
  // A position in the text, now and then one just outside it.
  const auto position = [&] { return pick_(size + 1); };
  const auto offset = [&] {
    switch (pick_(8)) {
      case 0:
        return -1 - pick_(3);
      case 1:
        return size + 1 + pick_(3);
      case 2:
        return pick_(2) == 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
      default:
        return position();
    }
  };
  const auto viewportOf = [&](QWidget* box) {
    return box == plain_ ? plain_->viewport() : box_->viewport();
  };
  // A point a quarter into the character at a position from its leading
  // side, in a box's viewport, from the box's own geometry (the boxes scroll
  // differently); none when the character is out of view. The glyphs come
  // from a plain text edit's layout, as its accessible text puts every
  // paragraph at the top; they also tell which side leads.
  const auto pointIn = [&](QWidget* box, int at) -> std::optional<QPoint> {
    const QTextBlock block = plain_->document()->findBlock(at);
    const QTextLayout* layout = block.layout();
    const int index = at - block.position();
    const QTextLine line = layout->lineForTextPosition(index);
    if (!line.isValid()) return std::nullopt;
    QRectF glyphs;
    bool rightToLeft = false;
    for (const QGlyphRun& run : line.glyphRuns(index, 1)) {
      glyphs |= run.boundingRect();
      rightToLeft = run.isRightToLeft();
    }
    if (glyphs.width() < 2) return std::nullopt;  // too narrow to click into
    QRectF rect;
    if (box == plain_) {
      QTextCursor blockStart = plain_->textCursor();
      blockStart.setPosition(block.position());
      const QRect caret = plain_->cursorRect(blockStart);
      const QPointF origin(caret.left() - layout->lineAt(0).cursorToX(0), caret.top());
      rect = QRectF(glyphs.left(), line.y(), glyphs.width(), line.height()).translated(origin);
    } else {
      const QRect global = TextOf(box)->characterRect(BreakMap(box_->toPlainText()).ToBox(at));
      rect = QRectF(box_->viewport()->mapFromGlobal(global.topLeft()), global.size());
    }
    const qreal x = rightToLeft ? rect.right() - rect.width() / 4 : rect.left() + rect.width() / 4;
    const QPoint point(static_cast<int>(x), static_cast<int>(rect.center().y()));
    if (rect.isNull() || !viewportOf(box)->rect().contains(point)) return std::nullopt;
    return point;
  };
  // The points of positions in both boxes, or none when one is out of view.
  const auto pointsAt = [&](std::initializer_list<int> positions) {
    std::vector<std::pair<QPoint, QPoint>> points;
    for (const int at : positions) {
      const auto inPlain = pointIn(plain_, at);
      const auto inBox = pointIn(box_, at);
      if (!inPlain || !inBox) return decltype(points)();
      points.emplace_back(*inPlain, *inBox);
    }
    return points;
  };
  const auto pointFor = [&](QWidget* box, const std::pair<QPoint, QPoint>& points) {
    return box == plain_ ? points.first : points.second;
  };
  // Clicks and drops land on characters, not past the end.
  const auto character = [&] { return size == 0 ? 0 : pick_(size); };
  const int kind = pick_(13);
  // An input method ends what it was composing when the user does anything
  // else: it commits the text.
  const bool inputMethodStep = kind == 7 || kind == 8;
  signals_ = 0;
  edits_ = 1;
  if (!inputMethodStep && !composed_.isEmpty()) {
    ++edits_;
    for (QWidget* box : boxes) {
      QInputMethodEvent event;
      event.setCommitString(composed_);
      Timed(QStringLiteral("commit before the step"),
            [&] { QApplication::sendEvent(box, &event); });
    }
    log_ += QStringLiteral("(the input method commits %1)\n").arg(Show(composed_));
    composed_.clear();
  }
  // Where right-to-left letters show, a text layout's glyph boxes do not
  // match its own hit testing (in a plain text edit as in the box): no
  // clicks, drags or drops there.
  if (HasRightToLeft(plain_->toPlainText()) && (kind == 3 || kind == 4 || kind == 6)) return;
  QString step;
  switch (kind) {
    case 0: {
      const QString typed = size > kMostCharacters ? QString() : RandomText(1);
      step = QStringLiteral("type %1").arg(Show(typed));
      for (QWidget* box : boxes) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, typed);
        Timed(step, [&] {
          QApplication::sendEvent(box, &press);
          QApplication::sendEvent(box, &release);
        });
      }
      break;
    }
    case 1:
    case 2: {
      const KeyPress key = kKeys[pick_(std::size(kKeys))];
      // Shift+Return puts a line separator inside a plain text edit's
      // paragraph, where the box starts a new one: input-method positions
      // would count from different starts. Return goes without Shift.
      const bool shift = pick_(3) == 0 && key.key != Qt::Key_Return;
      const Qt::KeyboardModifiers modifiers =
          key.modifiers | (shift ? Qt::ShiftModifier : Qt::NoModifier);
      step = QStringLiteral("key %1").arg(QKeySequence(key.key | modifiers).toString());
      if (key.key == Qt::Key_V && size > kMostCharacters) break;
      for (QWidget* box : boxes) Timed(step, [&] { QTest::keyClick(box, key.key, modifiers); });
      break;
    }
    case 3: {
      const int at = character();
      const auto points = pointsAt({at});
      if (points.empty()) return;
      const int clicks = pick_(4);
      static const QString kKinds[] = {QStringLiteral("click"), QStringLiteral("shift-click"),
                                       QStringLiteral("double-click"),
                                       QStringLiteral("triple-click")};
      step = QStringLiteral("%1 %2").arg(kKinds[clicks]).arg(at);
      for (QWidget* box : boxes) {
        const QPoint point = pointFor(box, points[0]);
        Timed(step, [&] {
          QWidget* viewport = viewportOf(box);
          if (clicks <= 1) {
            QTest::mouseClick(viewport, Qt::LeftButton,
                              clicks == 1 ? Qt::ShiftModifier : Qt::NoModifier, point);
          } else {
            QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
            if (clicks == 3) QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
          }
        });
      }
      if (clicks >= 2) QTest::qWait(kDoubleClickInterval + 30);
      break;
    }
    case 4: {
      const int from = character();
      const int to = character();
      const auto points = pointsAt({from, to});
      if (points.empty()) return;
      // A click first, so that the press never starts dragging a selection:
      // drag and drop is the drop step's.
      step = QStringLiteral("click at %1, drag from there to %2").arg(from).arg(to);
      for (QWidget* box : boxes) {
        Timed(step, [&] {
          QWidget* viewport = viewportOf(box);
          const QPoint start = pointFor(box, points[0]);
          const QPoint end = pointFor(box, points[1]);
          QTest::mouseClick(viewport, Qt::LeftButton, {}, start);
          QTest::mousePress(viewport, Qt::LeftButton, {}, start);
          QTest::mouseMove(viewport, end);
          QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
        });
      }
      break;
    }
    case 5: {
      const QString pasted = size > kMostCharacters ? QString() : RandomText(1 + pick_(3));
      step = QStringLiteral("paste %1").arg(Show(pasted));
      for (QWidget* box : boxes) {
        QApplication::clipboard()->setText(pasted);
        Timed(step, [&] { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); });
      }
      break;
    }
    case 6: {
      const int at = character();
      const auto points = pointsAt({at});
      if (points.empty()) return;
      const QString dropped = RandomText(1);
      step = QStringLiteral("drop %1 at %2").arg(Show(dropped)).arg(at);
      for (QWidget* box : boxes) {
        QMimeData data;
        data.setText(dropped);
        QWidget* viewport = viewportOf(box);
        const QPoint point = pointFor(box, points[0]);
        Timed(step, [&] {
          QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
          QApplication::sendEvent(viewport, &enter);
          QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, {});
          QApplication::sendEvent(viewport, &move);
          QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
          QApplication::sendEvent(viewport, &drop);
        });
      }
      break;
    }
    case 7: {
      static const QString kPreedits[] = {QStringLiteral("zhong"), QStringLiteral("n"),
                                          QStringLiteral("zhongguoren"), QString()};
      const QString preedit = kPreedits[pick_(std::size(kPreedits))];
      const int cursorAt = pick_(static_cast<int>(preedit.size()) + 1);
      step = QStringLiteral("pre-edit %1, its cursor at %2").arg(Show(preedit)).arg(cursorAt);
      for (QWidget* box : boxes) {
        QInputMethodEvent event(preedit, {{QInputMethodEvent::Cursor, cursorAt, 1, QVariant()}});
        Timed(step, [&] { QApplication::sendEvent(box, &event); });
      }
      composed_ = preedit;
      break;
    }
    case 8: {
      const QString committed = pick_(3) == 0 ? QString() : QStringLiteral("中");
      const int start = pick_(7) - 3;
      const int length = pick_(4);
      step = QStringLiteral("commit %1 replacing %2 from %3")
                 .arg(Show(committed))
                 .arg(length)
                 .arg(start);
      // The replaced stretch is the same characters in both boxes, counted
      // from the caret once the selection is gone, as it goes first.
      QString boxText = box_->toPlainText();
      const int boxCaret = std::min(box_->cursorPosition(), box_->anchorPosition());
      boxText.remove(boxCaret, std::abs(box_->cursorPosition() - box_->anchorPosition()));
      // A stretch that starts outside the text starts at the caret, and one
      // that ends outside it is empty.
      const BreakMap positions(boxText);
      const int caret = plain_->textCursor().selectionStart();
      const int plainSize = static_cast<int>(WithBreaksAsLineFeeds(boxText).size());
      const int boxSize = static_cast<int>(boxText.size());
      const auto inPlain = [&](int at) { return at >= 0 && at <= plainSize; };
      const int from = inPlain(caret + start) ? caret + start : caret;
      const int boxFrom = positions.ToBox(from);
      const int boxStart = inPlain(caret + start) ? boxFrom - boxCaret : boxSize + 1 - boxCaret;
      const int boxLength =
          inPlain(from + length) ? positions.ToBox(from + length) - boxFrom : boxSize + 1 - boxFrom;
      for (QWidget* box : boxes) {
        QInputMethodEvent event;
        if (box == box_) {
          event.setCommitString(committed, boxStart, boxLength);
        } else {
          event.setCommitString(committed, start, length);
        }
        Timed(step, [&] { QApplication::sendEvent(box, &event); });
      }
      composed_.clear();
      break;
    }
    case 9: {
      const int action = pick_(6);
      const int plainA = offset();
      const int plainB = offset();
      const QString inserted = RandomText(1);
      static const QString kActions[] = {
          QStringLiteral("setCursorPosition(%1)"), QStringLiteral("setSelection(0, %1, %2)"),
          QStringLiteral("removeSelection(0)"),    QStringLiteral("insertText(%1, %3)"),
          QStringLiteral("deleteText(%1, %2)"),    QStringLiteral("replaceText(%1, %2, %3)"),
      };
      step = QStringLiteral("accessible ") +
             QString(kActions[action])
                 .replace(QStringLiteral("%1"), QString::number(plainA))
                 .replace(QStringLiteral("%2"), QString::number(plainB))
                 .replace(QStringLiteral("%3"), Show(inserted));
      if (size > kMostCharacters && (action == 3 || action == 5)) break;
      const BreakMap positions(box_->toPlainText());
      for (QWidget* box : boxes) {
        const int a = box == box_ ? positions.ToBox(plainA) : plainA;
        const int b = box == box_ ? positions.ToBox(plainB) : plainB;
        Timed(step, [&] {
          QAccessibleTextInterface* text = TextOf(box);
          QAccessibleEditableTextInterface* editable = EditableTextOf(box);
          switch (action) {
            case 0:
              text->setCursorPosition(a);
              break;
            case 1:
              text->setSelection(0, a, b);
              break;
            case 2:
              text->removeSelection(0);
              break;
            case 3:
              editable->insertText(a, inserted);
              break;
            case 4:
              editable->deleteText(a, b);
              break;
            default:
              editable->replaceText(a, b, inserted);
              break;
          }
        });
      }
      break;
    }
    case 10: {
      // The window closes while a text is being composed, and opens again.
      step = QStringLiteral("close while composing, open again");
      for (QWidget* box : boxes) {
        box->setFocus();
        QInputMethodEvent event(QStringLiteral("ni"), {});
        QApplication::sendEvent(box, &event);
      }
      ++edits_;  // composing replaces the selection
      const QString text = plain_->toPlainText();
      Timed(step, [&] { MakeBoxes(text); });
      composed_.clear();
      break;
    }
    case 11: {
      const QString text = RandomText(pick_(8));
      step = QStringLiteral("set text %1").arg(Show(text));
      Timed(step, [&] {
        plain_->setPlainText(text);
        box_->setPlainText(text);
      });
      break;
    }
    default: {
      // Heights too: at some the box sets its lines closer than a plain
      // text edit, to show one more whole line.
      const int width = 40 + pick_(300);
      const int height = 40 + pick_(kBoxSize.height() - 40 + 1);
      step = QStringLiteral("size %1x%2").arg(width).arg(height);
      Timed(step, [&] {
        plain_->resize(width, height);
        box_->resize(width, height);
      });
      break;
    }
  }
  log_ += QStringLiteral("%1  -> plain %2/%3, box %4/%5\n")
              .arg(step)
              .arg(plain_->textCursor().anchor())
              .arg(plain_->textCursor().position())
              .arg(box_->anchorPosition())
              .arg(box_->cursorPosition());
}

std::optional<QString> TextBoxWalk::Compare() {
  const auto state = [](const QString& text, int cursor, int anchor) {
    return QStringLiteral("text %1 cursor %2 anchor %3").arg(Show(text)).arg(cursor).arg(anchor);
  };
  const BreakMap positions(box_->toPlainText());
  const QString boxState =
      state(WithBreaksAsLineFeeds(box_->toPlainText()), positions.ToPlain(box_->cursorPosition()),
            positions.ToPlain(box_->anchorPosition()));
  const QString plainState =
      state(plain_->toPlainText(), plain_->textCursor().position(), plain_->textCursor().anchor());
  if (parity_ && boxState != plainState) {
    return QStringLiteral("the box has %1\na plain text edit %2").arg(boxState, plainState);
  }
  if (signals_ > edits_) {
    return QStringLiteral("the box signalled %1 changes for %2 edits").arg(signals_).arg(edits_);
  }
  if (box_->toPlainText() != signalledText_)
    return QStringLiteral("the box's text changed without a signal");
  if (wrongChange_) return wrongChange_;
  if (auto different = CompareInputMethod(QStringLiteral("after the step"))) return different;
  if (auto different = CompareAccessible()) return different;
  // Every question again with the caret at each position, unless a text is
  // being composed (a plain text edit keeps the caret where composing began).
  // Composing, the last step was the input method's, which put the caret in view.
  if (!plain_->textCursor().block().layout()->preeditAreaText().isEmpty())
    return CaretShownWhole(QStringLiteral("while composing"));
  const QTextCursor saved = plain_->textCursor();
  const int size = static_cast<int>(plain_->toPlainText().size());
  std::optional<QString> different;
  for (int at = 0; at <= size && !different; ++at) {
    QTextCursor moved = plain_->textCursor();
    moved.setPosition(at);
    plain_->setTextCursor(moved);
    box_->setCursorPosition(positions.ToBox(at));
    different = CompareInputMethod(QStringLiteral("with the caret at %1").arg(at));
    if (!different) different = CaretShownWhole(QStringLiteral("at %1").arg(at));
  }
  plain_->setTextCursor(saved);
  box_->setCursorPosition(positions.ToBox(saved.anchor()));
  box_->setCursorPosition(positions.ToBox(saved.position()), true);
  return different;
}

std::optional<QString> TextBoxWalk::CaretShownWhole(const QString& at) {
  // Placing the caret scrolls its row, a whole row, into the viewport.
  const QRect caret = box_->cursorRect();
  const int height = box_->viewport()->height();
  if (caret.top() >= 0 && caret.bottom() < height) return std::nullopt;
  return QStringLiteral("the caret %1 spans rows %2 to %3 of a viewport %4 high")
      .arg(at)
      .arg(caret.top())
      .arg(caret.bottom())
      .arg(height);
}

std::optional<QString> TextBoxWalk::CompareInputMethod(const QString& at) {
  const QMetaEnum queries = QMetaEnum::fromType<Qt::InputMethodQuery>();
  // Every query answers in time, in both boxes.
  for (int i = 0; i < queries.keyCount(); ++i) {
    const auto query = static_cast<Qt::InputMethodQuery>(queries.value(i));
    const QString what = QStringLiteral("inputMethodQuery(%1) %2").arg(queries.key(i), at);
    Timed(what, [&] { return box_->inputMethodQuery(query); });
    Timed(what, [&] { return plain_->inputMethodQuery(query); });
  }
  const BreakMap positions(box_->toPlainText());
  for (const auto query : kSameAnswers) {
    QVariant answer = box_->inputMethodQuery(query);
    if (answer.typeId() == QMetaType::QString) answer = WithBreaksAsLineFeeds(answer.toString());
    if (query == Qt::ImAbsolutePosition) answer = positions.ToPlain(answer.toInt());
    if (query == Qt::ImAnchorPosition) {
      // Counted from the start of the caret's paragraph, across breaks.
      const int paragraphStart =
          box_->cursorPosition() - box_->inputMethodQuery(Qt::ImCursorPosition).toInt();
      answer =
          positions.ToPlain(paragraphStart + answer.toInt()) - positions.ToPlain(paragraphStart);
    }
    const QVariant expected = plain_->inputMethodQuery(query);
    if (parity_ && answer != expected) {
      return QStringLiteral("inputMethodQuery(%1) %2: the box answers %3, a plain text edit %4")
          .arg(queries.valueToKey(query), at, Show(answer), Show(expected));
    }
  }
  for (const auto query : {Qt::ImCursorRectangle, Qt::ImAnchorRectangle}) {
    if (!box_->inputMethodQuery(query).toRectF().isValid()) {
      return QStringLiteral("inputMethodQuery(%1) %2: no rectangle")
          .arg(queries.valueToKey(query), at);
    }
  }
  return std::nullopt;
}

std::optional<QString> TextBoxWalk::CompareAccessible() {
  QAccessibleTextInterface* box = TextOf(box_);
  QAccessibleTextInterface* plain = TextOf(plain_);
  const int size = plain->characterCount();
  const BreakMap positions(box_->toPlainText());
  const auto toPlain = [&](int at) { return positions.ToPlain(at); };
  const auto same = [&](const QString& what, const QString& answer,
                        const QString& expected) -> std::optional<QString> {
    if (!parity_ || answer == expected) return std::nullopt;
    return QStringLiteral("%1: the box answers %2, a plain text edit %3")
        .arg(what, answer, expected);
  };
  const auto number = [](int n) { return QString::number(n); };
  if (auto d = same(QStringLiteral("characterCount()"), number(toPlain(box->characterCount())),
                    number(size)))
    return d;
  if (auto d = same(QStringLiteral("cursorPosition()"), number(toPlain(box->cursorPosition())),
                    number(plain->cursorPosition())))
    return d;
  if (auto d = same(QStringLiteral("selectionCount()"), number(box->selectionCount()),
                    number(plain->selectionCount())))
    return d;
  const auto range = [](int start, int end, const QString& text) {
    return QStringLiteral("%1-%2 ").arg(start).arg(end) + Show(text);
  };
  {
    int start[2];
    int end[2];
    box->selection(0, &start[0], &end[0]);
    start[0] = toPlain(start[0]);
    end[0] = toPlain(end[0]);
    plain->selection(0, &start[1], &end[1]);
    if (auto d = same(QStringLiteral("selection(0)"), range(start[0], end[0], {}),
                      range(start[1], end[1], {})))
      return d;
  }
  // While a text is being composed, a plain text edit finds characters and
  // words in its layout, which holds the composed text, with positions of
  // its document, which does not: it answers about the wrong characters. The
  // box leaves the composed text out, as its text does. So then the answers
  // are only checked to lie in the text.
  const bool composing = !plain_->textCursor().block().layout()->preeditAreaText().isEmpty();
  QList<int> offsets{std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
  for (int offset = -2; offset <= size + 2; ++offset) offsets << offset;
  using Query =
      QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
  const std::pair<const char*, Query> kQueries[] = {
      {"textAtOffset", &QAccessibleTextInterface::textAtOffset},
      {"textBeforeOffset", &QAccessibleTextInterface::textBeforeOffset},
      {"textAfterOffset", &QAccessibleTextInterface::textAfterOffset},
  };
  for (const int offset : offsets) {
    const int boxOffset = positions.ToBox(offset);
    for (const auto& named : kQueries) {
      // Named, not bound: a lambda cannot take a structured binding in C++20.
      const char* name = named.first;
      const Query query = named.second;
      for (const auto& kind : kBoundaries) {
        const QAccessible::TextBoundaryType boundary = kind.first;
        const char* boundaryName = kind.second;
        const QString what =
            QStringLiteral("%1(%2, %3)")
                .arg(QLatin1String(name), number(offset), QLatin1String(boundaryName));
        int start[2];
        int end[2];
        const QString answer = WithBreaksAsLineFeeds(
            Timed(what, [&] { return (box->*query)(boxOffset, boundary, &start[0], &end[0]); }));
        start[0] = toPlain(start[0]);
        end[0] = toPlain(end[0]);
        const QString expected =
            Timed(what, [&] { return (plain->*query)(offset, boundary, &start[1], &end[1]); });
        // Intended: where a plain text edit answers the item before or after
        // with the same item again (before the first, after the last, after
        // one that ends at a line feed), the box answers none or the next.
        int atStart = 0;
        int atEnd = 0;
        const QString at = plain->textAtOffset(offset, boundary, &atStart, &atEnd);
        if (query != kQueries[0].second &&
            range(start[1], end[1], expected) == range(atStart, atEnd, at) &&
            ((start[0] == -1 && end[0] == -1) || start[0] >= atEnd)) {
          continue;
        }
        if (composing || !parity_) {
          if (start[0] < -1 || end[0] > size || start[0] > end[0])
            return what + QStringLiteral(": %1, outside the text").arg(range(start[0], end[0], {}));
        } else if (auto d = same(what, range(start[0], end[0], answer),
                                 range(start[1], end[1], expected))) {
          return d;
        }
      }
    }
    const QString rectWhat = QStringLiteral("characterRect(%1)").arg(offset);
    const QRect rect = Timed(rectWhat, [&] { return box->characterRect(boxOffset); });
    const QRect expectedRect = Timed(rectWhat, [&] { return plain->characterRect(offset); });
    if (auto d = same(rectWhat, rect.isNull() ? QStringLiteral("none") : QStringLiteral("a box"),
                      expectedRect.isNull() ? QStringLiteral("none") : QStringLiteral("a box")))
      return d;
    // The character under the middle of a character's box is that one, when
    // it shows and takes room (not a mark, a line feed or half a pair).
    if (!rect.isNull()) {
      const QString atWhat =
          QStringLiteral("offsetAtPoint(characterRect(%1).center())").arg(offset);
      const int at = toPlain(Timed(atWhat, [&] { return box->offsetAtPoint(rect.center()); }));
      const QChar c = plain_->toPlainText().at(offset);
      const bool shown =
          box_->viewport()->rect().contains(box_->viewport()->mapFromGlobal(rect.center()));
      const bool takesRoom = rect.width() > 1 && c != u'\n' && !c.isLowSurrogate() &&
                             c.category() != QChar::Mark_NonSpacing;
      // Not where right-to-left letters show (see RunStep).
      const bool exact = parity_ && !HasRightToLeft(plain_->toPlainText());
      const bool wrong =
          exact ? (shown ? (takesRoom && at != offset) : at != -1) : (at < -1 || at > size);
      if (wrong)
        return atWhat + QStringLiteral(": %1 (rect %2,%3 %4x%5, viewport point %6,%7)")
                            .arg(at)
                            .arg(rect.x())
                            .arg(rect.y())
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(box_->viewport()->mapFromGlobal(rect.center()).x())
                            .arg(box_->viewport()->mapFromGlobal(rect.center()).y());
    }
    const QString attributesWhat = QStringLiteral("attributes(%1)").arg(offset);
    int start[2];
    int end[2];
    Timed(attributesWhat, [&] { return box->attributes(boxOffset, &start[0], &end[0]); });
    start[0] = toPlain(start[0]);
    end[0] = toPlain(end[0]);
    Timed(attributesWhat, [&] { return plain->attributes(offset, &start[1], &end[1]); });
    // A plain text edit splits its text into runs where it was edited; the
    // box has one run a paragraph. Both give none outside the text.
    const bool outside = start[1] < 0;
    if (offset >= 0 && offset < size && !(start[0] <= offset && offset < end[0])) {
      return attributesWhat + QStringLiteral(": the run %1 does not hold the offset")
                                  .arg(range(start[0], end[0], {}));
    }
    if (outside || start[0] < 0) {
      if (auto d = same(attributesWhat, range(start[0], end[0], {}), range(start[1], end[1], {})))
        return d;
    }
    const int next = offset == std::numeric_limits<int>::max() ? offset : offset + 1;
    for (const int to : {offset, next, size + 5}) {
      const QString textWhat = QStringLiteral("text(%1, %2)").arg(offset).arg(to);
      const QString answer = WithBreaksAsLineFeeds(
          Timed(textWhat, [&] { return box->text(boxOffset, positions.ToBox(to)); }));
      const QString expected = Timed(textWhat, [&] { return plain->text(offset, to); });
      if (auto d = same(textWhat, Show(answer), Show(expected))) return d;
    }
  }
  return std::nullopt;
}

}  // namespace kelvaro
