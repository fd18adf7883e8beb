// The same scripted editing on a LongTextBox and on a plain text edit of the
// same size and font must leave the same text, cursor and selection after
// every step: the pinyin and hint boxes edit as the other text boxes do.
//
// Intended differences, not compared here:
// - The input method's cursor rectangle is in the box's coordinates; a plain
//   text edit gives it in its viewport's, one frame width off.
// - The text reads back exactly as set, no-break spaces included; a plain
//   text edit turns them into spaces.
// - Line geometry: the box shows whole lines only, where a plain text edit
//   shows a line cut by the bottom edge, and where the viewport holds one
//   more whole line with the lines closer, it sets them that much closer
//   (the boxes here are of heights where it does not). Its top margin stays
//   when it is scrolled. Both scroll bars count lines; scroll positions are
//   not compared.
#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "textbox/long_text_box.h"
#include "textbox/tests/text_box_test_support.h"

using kelvaro::LongTextBox;

namespace {

const QSize kBoxSize(420, 160);

// One box under test, driven through its widget and read back alike.
struct Driven {
  QWidget* box;
  QWidget* viewport;
  std::function<QString()> text;
  std::function<int()> position;
  std::function<int()> anchor;
  std::function<QPoint(int)> pointOf;  // a viewport point on the character at a position

  QString State() const {
    return QStringLiteral("text \"%1\" cursor %2 anchor %3")
        .arg(text())
        .arg(position())
        .arg(anchor());
  }
};

// Runs one step of a script: "keys TEXT", "key SEQUENCE", "click N", "shiftclick N",
// "doubleclick N", "tripleclick N", "drag N M", "preedit TEXT", "commit TEXT [START LENGTH]",
// "middle N" (positions N are in the text).
void Run(const Driven& driven, const QString& step) {
  const QString verb = step.section(u' ', 0, 0);
  const QString rest = step.section(u' ', 1);
  const auto number = [&](int i) { return rest.section(u' ', i, i).toInt(); };
  if (verb == u"keys") {
    QTest::keyClicks(driven.box, rest);
  } else if (verb == u"key") {
    const QKeyCombination combination = QKeySequence(rest)[0];
    QTest::keyClick(driven.box, combination.key(), combination.keyboardModifiers());
  } else if (verb == u"click" || verb == u"shiftclick") {
    QTest::mouseClick(driven.viewport, Qt::LeftButton,
                      verb == u"shiftclick" ? Qt::ShiftModifier : Qt::NoModifier,
                      driven.pointOf(number(0)));
  } else if (verb == u"doubleclick" || verb == u"tripleclick") {
    const QPoint at = driven.pointOf(number(0));
    QTest::mouseClick(driven.viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(driven.viewport, Qt::LeftButton, {}, at);
    if (verb == u"tripleclick") QTest::mouseClick(driven.viewport, Qt::LeftButton, {}, at);
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // no click after this makes a triple
  } else if (verb == u"drag") {
    QTest::mousePress(driven.viewport, Qt::LeftButton, {}, driven.pointOf(number(0)));
    QTest::mouseMove(driven.viewport, driven.pointOf(number(1)));
    QTest::mouseRelease(driven.viewport, Qt::LeftButton, {}, driven.pointOf(number(1)));
  } else if (verb == u"preedit") {
    QInputMethodEvent event(rest, {});
    QApplication::sendEvent(driven.box, &event);
  } else if (verb == u"commit") {
    QInputMethodEvent event;
    const QStringList parts = rest.split(u' ');
    event.setCommitString(parts[0], parts.size() > 2 ? parts[1].toInt() : 0,
                          parts.size() > 2 ? parts[2].toInt() : 0);
    QApplication::sendEvent(driven.box, &event);
  } else {
    QFAIL(qPrintable(QStringLiteral("unknown step: ") + step));
  }
}

}  // namespace

class TextBoxParityTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    plain_ = std::make_unique<QPlainTextEdit>();
    plain_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    plain_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    plain_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    plain_->setTabChangesFocus(true);
    long_ = std::make_unique<LongTextBox>();
    for (QWidget* box : {static_cast<QWidget*>(plain_.get()), static_cast<QWidget*>(long_.get())}) {
      box->setFont(kelvaro::SerifCjkFont(24));
      box->resize(kBoxSize);
      box->show();
      QVERIFY(QTest::qWaitForWindowExposed(box));
    }
  }
  void cleanup() {
    plain_.reset();
    long_.reset();
  }

  void sameEditing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QStringList>("steps");
    const QString pinyin = QStringLiteral("zhōng guó rén mín ").repeated(6);
    const QString hints = QStringLiteral("ZHONG GUO REN MIN ").repeated(6);
    QTest::newRow("typing into an empty box")
        << QString() << 0 << QStringList{"keys zhong guo", "key Return", "keys ren"};
    QTest::newRow("backspace and delete")
        << QStringLiteral("zhōng guó") << 9
        << QStringList{"key Backspace",   "key Backspace", "key Home",          "key Delete",
                       "key Ctrl+Delete", "key End",       "key Ctrl+Backspace"};
    QTest::newRow("characters and words") << pinyin << 0
                                          << QStringList{"key Right",
                                                         "key Right",
                                                         "key Shift+Right",
                                                         "key Left",
                                                         "key Ctrl+Right",
                                                         "key Ctrl+Right",
                                                         "key Ctrl+Shift+Right",
                                                         "key Ctrl+Left",
                                                         "key Ctrl+Shift+Left",
                                                         "key Shift+Left",
                                                         "key Right"};
    QTest::newRow("lines") << pinyin << 3
                           << QStringList{"key Down",       "key Down",     "key End",
                                          "key Up",         "key Home",     "key Shift+End",
                                          "key Shift+Down", "key Shift+Up", "key Up",
                                          "key Up",         "key End",      "key Down"};
    QTest::newRow("document") << hints << 20 << QStringList{"key Ctrl+End",   "key Ctrl+Shift+Home",
                                                            "key Ctrl+Home",  "key Ctrl+Shift+End",
                                                            "key Shift+Home", "key Ctrl+End",
                                                            "key Up"};
    QTest::newRow("control with the vertical keys")
        << pinyin.repeated(3) << 40
        << QStringList{"key Ctrl+Down",       "key Ctrl+Up",         "key Ctrl+PgDown",
                       "key Ctrl+Shift+Down", "key Ctrl+Shift+PgUp", "key Shift+Up",
                       "key Ctrl+Shift+Up"};
    QTest::newRow("pages") << pinyin.repeated(3) << 5
                           << QStringList{"key PgDown", "key PgDown", "key Shift+PgUp", "key PgUp",
                                          "key Shift+PgDown"};
    QTest::newRow("line breaks") << QStringLiteral("zhōng\nguó\n\nrén\n") << 2
                                 << QStringList{"key Down",       "key Down",   "key Down",
                                                "key End",        "key Up",     "key Ctrl+Right",
                                                "key Shift+Down", "key Delete", "key Ctrl+End",
                                                "key Backspace"};
    QTest::newRow("select all, copy, cut and paste")
        << QStringLiteral("zhōng guó rén") << 6
        << QStringList{"key Ctrl+A",     "key Ctrl+C", "key End",    "key Ctrl+V",
                       "key Shift+Home", "key Ctrl+X", "key Ctrl+V", "key Ctrl+V"};
    QTest::newRow("undo and redo")
        << QStringLiteral("guó") << 0
        << QStringList{"keys zhong ",   "key Ctrl+Z",    "key Ctrl+Y", "key End",
                       "key Backspace", "key Backspace", "key Ctrl+Z", "key Ctrl+Shift+Z",
                       "key Ctrl+A",    "keys x",        "key Ctrl+Z", "key Ctrl+Z",
                       "key Ctrl+Y"};
    QTest::newRow("clicks") << pinyin << 0
                            << QStringList{"click 7",       "click 30",      "shiftclick 12",
                                           "click 50",      "doubleclick 8", "doubleclick 40",
                                           "tripleclick 22"};
    QTest::newRow("drag to select")
        << pinyin << 0 << QStringList{"drag 2 9", "drag 30 5", "drag 1 50", "keys x"};
    QTest::newRow("input method") << QStringLiteral("wǒ ài ") << 3
                                  << QStringList{"preedit zhong",  "preedit zhongguo",
                                                 "commit 中国",    "preedit ren",
                                                 "commit 人 -3 3", "key Shift+Home",
                                                 "commit 你",      "commit 好 -1 1"};
    QTest::newRow("astral characters")
        << QStringLiteral("a\U00020000b\U0002A6A5") << 0
        << QStringList{"key Right",     "key Right", "key Shift+Right", "key Right",
                       "key Backspace", "key Left",  "key Delete",      "key Ctrl+Z"};
  }
  void sameEditing() {
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QStringList, steps);
    QApplication::clipboard()->setText(QStringLiteral("nǐ hǎo"));
    plain_->setPlainText(text);
    QTextCursor start = plain_->textCursor();
    start.setPosition(cursor);
    plain_->setTextCursor(start);
    long_->setPlainText(text);
    long_->setCursorPosition(cursor);
    const Driven plain{plain_.get(),
                       plain_->viewport(),
                       [this] { return plain_->toPlainText(); },
                       [this] { return plain_->textCursor().position(); },
                       [this] { return plain_->textCursor().anchor(); },
                       [this](int position) { return PointIn(*plain_, position); }};
    const Driven box{long_.get(),
                     long_->viewport(),
                     [this] { return long_->toPlainText(); },
                     [this] { return long_->cursorPosition(); },
                     [this] { return long_->anchorPosition(); },
                     [this](int position) { return PointIn(*plain_, position); }};
    for (const QString& step : steps) {
      Run(plain, step);
      Run(box, step);
      QVERIFY2(box.State() == plain.State(),
               qPrintable(QStringLiteral("after \"%1\":\n  box   %2\n  plain %3")
                              .arg(step, box.State(), plain.State())));
    }
  }

  // The same input-method answers about the text around the cursor.
  void sameInputMethodAnswers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("cursor");
    QTest::newRow("one paragraph") << QStringLiteral("zhōng guó rén") << 2 << 9;
    QTest::newRow("second paragraph") << QStringLiteral("zhōng\nguó rén\nmín") << 8 << 12;
    QTest::newRow("at the end") << QStringLiteral("zhōng\n") << 6 << 6;
    QTest::newRow("at the start, line feeds after") << QStringLiteral("zhōng\nguó") << 0 << 0;
    QTest::newRow("after a leading line feed") << QStringLiteral("\nguó rén") << 3 << 3;
    QTest::newRow("after leading line feeds") << QStringLiteral("\n\nguó") << 4 << 2;
  }
  void sameInputMethodAnswers() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, cursor);
    plain_->setPlainText(text);
    QTextCursor selection = plain_->textCursor();
    selection.setPosition(anchor);
    selection.setPosition(cursor, QTextCursor::KeepAnchor);
    plain_->setTextCursor(selection);
    long_->setPlainText(text);
    long_->setCursorPosition(anchor);
    long_->setCursorPosition(cursor, true);
    for (const auto query :
         {Qt::ImSurroundingText, Qt::ImCursorPosition, Qt::ImAnchorPosition, Qt::ImCurrentSelection,
          Qt::ImAbsolutePosition, Qt::ImTextBeforeCursor, Qt::ImTextAfterCursor}) {
      const QVariant answer = long_->inputMethodQuery(query);
      const QVariant expected = plain_->inputMethodQuery(query);
      QVERIFY2(answer == expected,
               qPrintable(QStringLiteral("%1: \"%2\", a plain text edit \"%3\"")
                              .arg(QMetaEnum::fromType<Qt::InputMethodQuery>().valueToKey(query),
                                   answer.toString(), expected.toString())));
    }
  }

  // The edit menu has the same entries, texts and states as a plain text edit's.
  void sameMenu_data() {
    QTest::addColumn<QString>("typedOverAll");  // typed over the whole text first
    QTest::newRow("text as set") << QString();
    QTest::newRow("text typed over") << QStringLiteral("x");
  }
  void sameMenu() {
    QFETCH(QString, typedOverAll);
    QApplication::clipboard()->setText(QStringLiteral("nǐ"));
    plain_->setPlainText(QStringLiteral("zhōng guó"));
    long_->setPlainText(QStringLiteral("zhōng guó"));
    if (!typedOverAll.isEmpty()) {
      plain_->selectAll();
      long_->selectAll();
      QTest::keyClicks(plain_.get(), typedOverAll);
      QTest::keyClicks(long_.get(), typedOverAll);
    }
    std::unique_ptr<QMenu> expected(plain_->createStandardContextMenu());
    std::unique_ptr<QMenu> menu(long_->createStandardContextMenu());
    QCOMPARE(MenuEntries(*menu), MenuEntries(*expected));
  }

  // The text wraps where the plain text edit wraps it.
  void sameLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("pinyin") << QStringLiteral("zhōng guó rén mín ").repeated(20) << 420;
    QTest::newRow("hints") << QStringLiteral("ZHONG GUO REN MIN ").repeated(20) << 333;
    QTest::newRow("characters with readings")
        << QStringLiteral("中(zhōng)国(guó)，").repeated(20) << 300;
    QTest::newRow("one long word") << QStringLiteral("x").repeated(200) << 250;
    QTest::newRow("punctuation never starts a line")
        << QStringLiteral("我爱中国。你好，").repeated(20) << 377;
    QTest::newRow("line feeds after digits")
        << QStringLiteral("lǜ 2024\n“nǚ” 36\n。").repeated(8) << 300;
    QTest::newRow("spaces after opening brackets")
        << QStringLiteral("（ zhōng guó ） “ rén ” ").repeated(12) << 333;
    QTest::newRow("spaces starting a paragraph before a long word")
        << QStringLiteral("zhōng\n   ") + QStringLiteral("x").repeated(60) << 250;
  }
  void sameLines() {
    QFETCH(QString, text);
    QFETCH(int, width);
    plain_->resize(width, kBoxSize.height());
    long_->resize(width, kBoxSize.height());
    plain_->setPlainText(text);
    long_->setPlainText(text);
    QCOMPARE(kelvaro::LineStarts(long_.get()), LayoutLineStarts(*plain_));
    // A screen reader reading the line at any offset hears the same text.
    QCOMPARE(LineAtEachOffset(long_.get()), LineAtEachOffset(plain_.get()));
  }

  // After the program rewrites the text, which the box rewraps only from the
  // change on, the lines are still where the plain text edit puts them.
  void sameLinesAfterRewriting_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString pinyin = QStringLiteral("zhōng guó rén mín hǎo péng yǒu ").repeated(30);
    QString inserted = pinyin;
    inserted.insert(400, QStringLiteral("chóng "));
    QString removed = pinyin;
    removed.remove(400, 6);
    QTest::newRow("appended") << pinyin << pinyin + QStringLiteral("chóng ");
    QTest::newRow("inserted in the middle") << pinyin << inserted;
    QTest::newRow("removed in the middle") << pinyin << removed;
    QTest::newRow("changed at the start") << pinyin << QStringLiteral("wǒ ") + pinyin.mid(6);
    QTest::newRow("shortened") << pinyin << pinyin.left(100);
    QTest::newRow("a long word breaking")
        << pinyin << pinyin.left(300) + QStringLiteral("x").repeated(100) + pinyin.mid(300);
  }
  void sameLinesAfterRewriting() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    long_->setPlainText(before);
    // Look at every line, as scrolling to the end does.
    QVERIFY(kelvaro::LineStarts(long_.get()).size() > 5);
    long_->setPlainText(after);
    plain_->setPlainText(after);
    QCOMPARE(kelvaro::LineStarts(long_.get()), LayoutLineStarts(*plain_));
  }

 private:
  // Where the plain text edit starts each line of its paragraphs.
  static QList<int> LayoutLineStarts(const QPlainTextEdit& edit) {
    QList<int> starts;
    for (QTextBlock block = edit.document()->firstBlock(); block.isValid(); block = block.next()) {
      edit.document()->documentLayout()->blockBoundingRect(block);  // lays it out if not yet
      const QTextLayout* layout = block.layout();
      for (int i = 0; i < layout->lineCount(); ++i)
        starts << block.position() + layout->lineAt(i).textStart();
    }
    return starts;
  }

  // The line at each offset of a box's accessible text: "offset: start-end text".
  static QStringList LineAtEachOffset(QWidget* box) {
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(box)->textInterface();
    QStringList lines;
    for (int offset = 0; offset <= text->characterCount(); ++offset) {
      int start = 0;
      int end = 0;
      const QString line = text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
      lines << QStringLiteral("%1: %2-%3 %4").arg(offset).arg(start).arg(end).arg(line);
    }
    return lines;
  }

  // Each entry of a menu as its text, whether it is a separator, whether it
  // is enabled and its object name.
  static QStringList MenuEntries(const QMenu& menu) {
    QStringList entries;
    for (const QAction* action : menu.actions()) {
      entries << QStringLiteral("%1 | separator %2 | enabled %3 | %4")
                     .arg(action->text())
                     .arg(action->isSeparator())
                     .arg(action->isEnabled())
                     .arg(action->objectName());
    }
    return entries;
  }

  // A point inside the character at a position of the plain text edit, in
  // its viewport; the same point is clicked in both boxes.
  static QPoint PointIn(QPlainTextEdit& edit, int position) {
    QTextCursor at = edit.textCursor();
    at.setPosition(position);
    const QRect caret = edit.cursorRect(at);
    return QPoint(caret.left() + 3, caret.center().y());
  }

  std::unique_ptr<QPlainTextEdit> plain_;
  std::unique_ptr<LongTextBox> long_;
};

QTEST_MAIN(TextBoxParityTest)
#include "text_box_parity_test.moc"
