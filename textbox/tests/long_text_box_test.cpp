// The text box of the source, pinyin and hint boxes: text reads back exactly,
// lines wrap at the box's width, and it edits as a text box does.
#include "textbox/long_text_box.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

#include "textbox/line_breaks.h"
#include "textbox/tests/text_box_test_support.h"

using kelvaro::BreakMap;
using kelvaro::LongTextBox;
using kelvaro::WithBreaksAsLineFeeds;

namespace {

// The lines as they are shown, each without the line feed that ends it.
QStringList Lines(LongTextBox& box) {
  QStringList lines;
  const QList<int> starts = kelvaro::LineStarts(&box);
  const QString& text = box.toPlainText();
  for (int i = 0; i < starts.size(); ++i) {
    const int end = i + 1 < starts.size() ? starts[i + 1] : static_cast<int>(text.size());
    QString line = text.mid(starts[i], end - starts[i]);
    if (line.endsWith(QLatin1Char('\n'))) line.chop(1);
    lines << line;
  }
  return lines;
}

}  // namespace

class LongTextBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    box_ = std::make_unique<LongTextBox>();
    box_->setFont(kelvaro::SerifCjkFont(24));
    box_->resize(600, 120);
    box_->show();
    QVERIFY(QTest::qWaitForWindowExposed(box_.get()));
  }
  void cleanup() { box_.reset(); }

  void readsBackExactly_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("pinyin") << QStringLiteral("zhōng guó ").repeated(500);
    QTest::newRow("hints") << QStringLiteral("ZHONG GUO ").repeated(500);
    QTest::newRow("characters with readings") << QStringLiteral("中(zhōng)国(guó)").repeated(300);
    QTest::newRow("line feeds and spaces") << QStringLiteral("a\n\nb  \n c\n");
    QTest::newRow("astral and lone surrogates") << QStringLiteral("中\U00020000国 \xD800 x");
    QTest::newRow("one long word") << QStringLiteral("x").repeated(3000);
  }
  // Setting a stretch of the text leaves the box as setting the whole new
  // text does: text, lines, cursor, scroll, one signal, the change reported,
  // and the text no longer edited by the user.
  void settingAStretchIsSettingTheWholeText_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("after");
    const QString pinyin = QStringLiteral("zhōng guó ").repeated(400);
    QTest::newRow("in the middle") << pinyin << 2000 << 6 << QStringLiteral("zhòng ")
                                   << QString(pinyin).replace(2000, 6, QStringLiteral("zhòng "));
    QTest::newRow("at the end") << pinyin << 4000 << 0 << QStringLiteral("a ")
                                << pinyin + QStringLiteral("a ");
    QTest::newRow("all of it") << pinyin << 0 << 4000 << QString() << QString();
    QTest::newRow("the same") << pinyin << 10 << 4 << pinyin.mid(10, 4) << pinyin;
    QTest::newRow("a line feed") << QStringLiteral("ab") << 1 << 0 << QStringLiteral("\n")
                                 << QStringLiteral("a\nb");
    QTest::newRow("CR before a line feed")
        << QStringLiteral("a\nb") << 1 << 0 << QStringLiteral("\r") << QStringLiteral("a\r\nb");
    QTest::newRow("CR LF") << QStringLiteral("ab") << 1 << 0 << QStringLiteral("\r\n")
                           << QStringLiteral("a\r\nb");
    QTest::newRow("a paragraph separator")
        << QStringLiteral("ab") << 1 << 0 << QString(QChar::ParagraphSeparator)
        << QStringLiteral("a\nb");
    QTest::newRow("past the end") << QStringLiteral("abc") << 7 << 2 << QStringLiteral("d")
                                  << QStringLiteral("abcd");
    QTest::newRow("removing past the end")
        << QStringLiteral("abc") << 1 << 9 << QString() << QStringLiteral("a");
  }
  void settingAStretchIsSettingTheWholeText() {
    QFETCH(QString, before);
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(QString, after);
    // Scrolled, with a selection, and edited by the user.
    box_->setPlainText(before + QStringLiteral("x"));
    box_->setCursorPosition(static_cast<int>(before.size()) + 1);
    QTest::keyClick(box_.get(), Qt::Key_Backspace);
    QCOMPARE(box_->toPlainText(), before);
    QVERIFY(box_->isModified());
    box_->setCursorPosition(static_cast<int>(before.size()) / 2, true);
    box_->verticalScrollBar()->setValue(box_->verticalScrollBar()->maximum());
    QSignalSpy changed(box_.get(), &LongTextBox::textChanged);
    box_->setPlainTextStretch(position, removed, inserted);

    LongTextBox whole;
    whole.setFont(box_->font());
    whole.resize(box_->size());
    whole.show();
    QVERIFY(QTest::qWaitForWindowExposed(&whole));
    whole.setPlainText(after);
    QCOMPARE(box_->toPlainText(), after);
    QCOMPARE(Lines(*box_), Lines(whole));
    QCOMPARE(box_->cursorPosition(), whole.cursorPosition());
    QCOMPARE(box_->anchorPosition(), whole.anchorPosition());
    QCOMPARE(box_->verticalScrollBar()->value(), whole.verticalScrollBar()->value());
    QCOMPARE(box_->verticalScrollBar()->maximum(), whole.verticalScrollBar()->maximum());
    QCOMPARE(changed.count(), 1);
    QVERIFY(!box_->isModified());
    const LongTextBox::Change change = box_->lastChange();
    QCOMPARE(QString(before).replace(change.position, change.removed,
                                     after.mid(change.position, change.added)),
             after);
  }

  // After a resize, a text that fits scrolls no further than its lines: a
  // line alone leaves nothing to scroll.
  void aShortTextScrollsOnlyByItsLines_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("height");
    for (const int height : {73, 120}) {
      for (const int lines : {1, 2, 3, 5}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 in %2 px").arg(lines).arg(height)))
            << lines << height;
      }
    }
  }
  void aShortTextScrollsOnlyByItsLines() {
    QFETCH(int, lines);
    QFETCH(int, height);
    box_->resize(box_->width(), height);
    box_->setPlainText(QStringList(lines, QStringLiteral("zhōng guó")).join(u'\n'));
    for (const int width : {500, 640}) {
      box_->resize(width, box_->height());
      QApplication::processEvents();
      QScrollBar* bar = box_->verticalScrollBar();
      QCOMPARE(bar->maximum(), std::max(0, lines - bar->pageStep()));
    }
  }

  void readsBackExactly() {
    QFETCH(QString, text);
    QSignalSpy changed(box_.get(), &LongTextBox::textChanged);
    box_->setPlainText(text);
    QCOMPARE(box_->toPlainText(), text);
    QCOMPARE(changed.count(), 1);
    // The lines cover the text in order, with nothing added or lost.
    QString joined;
    const QList<int> starts = kelvaro::LineStarts(box_.get());
    QCOMPARE(starts.front(), 0);
    for (int i = 1; i < starts.size(); ++i) QVERIFY(starts[i] > starts[i - 1]);
    for (int i = 0; i < starts.size(); ++i) {
      const int end = i + 1 < starts.size() ? starts[i + 1] : static_cast<int>(text.size());
      joined += text.mid(starts[i], end - starts[i]);
    }
    QCOMPARE(joined, text);
  }

  void wrapsAtSpacesWithinTheWidth_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("narrow") << 200;
    QTest::newRow("the design width") << 577;
    QTest::newRow("wide") << 1400;
  }
  void wrapsAtSpacesWithinTheWidth() {
    QFETCH(int, width);
    box_->resize(width, 120);
    const QString text =
        QStringLiteral("xiǎo péng yǒu zài gōng yuán lǐ kuài lè de zuò yóu xì ").repeated(40);
    box_->setPlainText(text);
    const qreal room = box_->viewport()->width() - 8;
    const QFontMetricsF metrics(box_->font());
    const QStringList lines = Lines(*box_);
    const QList<int> starts = kelvaro::LineStarts(box_.get());
    QVERIFY(lines.size() > 1);
    for (int i = 0; i < lines.size(); ++i) {
      const QString line = lines[i];
      QVERIFY2(metrics.horizontalAdvance(line.trimmed()) <= room + 1, qPrintable(line));
      if (i > 0) QVERIFY(text.at(starts[i] - 1) == u' ');
      // Greedy: the next word would not have fitted.
      if (i + 1 < lines.size()) {
        const QString next = lines[i + 1].section(QLatin1Char(' '), 0, 0);
        QVERIFY(metrics.horizontalAdvance(line + next) > room - 1);
      }
    }
    QCOMPARE(box_->toPlainText(), text);
  }

  void breaksBetweenChineseCharactersAndInsideOverlongWords() {
    box_->resize(200, 120);
    box_->setPlainText(QStringLiteral("中国").repeated(40));
    for (const QString& line : Lines(*box_)) QVERIFY(!line.isEmpty());
    QVERIFY(Lines(*box_).size() > 4);
    box_->setPlainText(QStringLiteral("x").repeated(400));
    QVERIFY(Lines(*box_).size() > 2);
  }

  void scrollsToTheCursor() {
    box_->setPlainText(QStringLiteral("zhōng guó ").repeated(2000));
    QVERIFY(box_->verticalScrollBar()->maximum() > 0);
    QCOMPARE(box_->verticalScrollBar()->value(), 0);
    box_->setFocus();
    QTest::keyClick(box_.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(box_->cursorPosition(), box_->toPlainText().size());
    QCOMPARE(box_->verticalScrollBar()->value(), box_->verticalScrollBar()->maximum());
    QTest::keyClick(box_.get(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(box_->verticalScrollBar()->value(), 0);
  }

  void editsLikeATextBox() {
    box_->setPlainText(QStringLiteral("zhōng guó "));
    box_->setFocus();
    QSignalSpy changed(box_.get(), &LongTextBox::textChanged);
    box_->setCursorPosition(5);
    QTest::keyClicks(box_.get(), "xx");
    QCOMPARE(box_->toPlainText(), QStringLiteral("zhōngxx guó "));
    QTest::keyClick(box_.get(), Qt::Key_Backspace);
    QTest::keyClick(box_.get(), Qt::Key_Left);
    QTest::keyClick(box_.get(), Qt::Key_Delete);
    QCOMPARE(box_->toPlainText(), QStringLiteral("zhōng guó "));
    // Shift selects; typing replaces the selection.
    QTest::keyClick(box_.get(), Qt::Key_Home);
    QTest::keyClick(box_.get(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(box_.get(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(box_->selectedText(), QStringLiteral("zh"));
    QTest::keyClicks(box_.get(), "Z");
    QCOMPARE(box_->toPlainText(), QStringLiteral("Zōng guó "));
    // Input methods commit whole words.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("中"));
    QApplication::sendEvent(box_.get(), &commit);
    QCOMPARE(box_->toPlainText(), QStringLiteral("Z中ōng guó "));
    QTest::keyClick(box_.get(), Qt::Key_Return);
    QCOMPARE(box_->toPlainText(), QStringLiteral("Z中\nōng guó "));
    QCOMPARE(Lines(*box_).size(), 2);
    // Copy and paste through the clipboard, then select all and delete.
    QTest::keyClick(box_.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box_.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Z中\nōng guó "));
    QTest::keyClick(box_.get(), Qt::Key_Delete);
    QCOMPARE(box_->toPlainText(), QString());
    QTest::keyClick(box_.get(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box_->toPlainText(), QStringLiteral("Z中\nōng guó "));
    QVERIFY(changed.count() >= 8);
  }

  void aClickPlacesTheCursor() {
    box_->setPlainText(QStringLiteral("ab cd"));
    const qreal x = 4 + QFontMetricsF(box_->font()).horizontalAdvance(QStringLiteral("ab "));
    QTest::mouseClick(box_->viewport(), Qt::LeftButton, {}, QPoint(static_cast<int>(x) + 1, 10));
    QCOMPARE(box_->cursorPosition(), 3);
  }

  // The caret stands where the shaped text puts the glyphs, also with fonts
  // that kern: at the x that a text layout of the whole paragraph, wrapped
  // at the box's width, gives the position.
  void caretStandsAtTheShapedPosition_data() {
    QTest::addColumn<QString>("family");
    QTest::newRow("Noto Serif CJK SC") << QStringLiteral("Noto Serif CJK SC");
    QTest::newRow("AR PL UMing CN") << QStringLiteral("AR PL UMing CN");
  }
  void caretStandsAtTheShapedPosition() {
    QFETCH(QString, family);
    QFont font(family);
    font.setPointSizeF(24);
    QCOMPARE(QFontInfo(font).family(), family);
    box_->setFont(font);
    const QString text = QStringLiteral("zhōng guó rén mín nǚ ér lǜ sè ").repeated(6) +
                         QStringLiteral("WAVE TO YOU AVOW Ty Yo ").repeated(6) +
                         QStringLiteral("中国，").repeated(30);
    box_->setPlainText(text);
    box_->setFocus();
    constexpr int kTextMargin = 4;
    QTextLayout whole(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    whole.setTextOption(option);
    whole.beginLayout();
    for (QTextLine line = whole.createLine(); line.isValid(); line = whole.createLine())
      line.setLineWidth(box_->viewport()->width() - 2 * kTextMargin);
    whole.endLayout();
    QVERIFY(whole.lineCount() > 8);
    const QList<int> starts = kelvaro::LineStarts(box_.get());
    QCOMPARE(starts.size(), whole.lineCount());
    for (int i = 0; i < whole.lineCount(); ++i) {
      const QTextLine line = whole.lineAt(i);
      QCOMPARE(starts[i], line.textStart());
      const int start = line.textStart();
      const int end = start + line.textLength() - 1;  // before the last character
      for (const int position : {start, (start + end) / 2, end}) {
        box_->setCursorPosition(position);
        const qreal expected = kTextMargin + line.cursorToX(position);
        QVERIFY2(std::abs(box_->cursorRect().left() - expected) <= 1,
                 qPrintable(QStringLiteral("line %1, position %2: caret at %3, glyphs at %4")
                                .arg(i)
                                .arg(position)
                                .arg(box_->cursorRect().left())
                                .arg(expected)));
      }
    }
  }

  // Setting the text from the program starts a new history, as a plain
  // text edit's setPlainText does; the user's edits undo one by one.
  // The source box converts at every change, so each change signals once,
  // with the new text already in place, and nothing else signals.
  void everyChangeSignalsOnceWithItsText_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("signalled");  // the text read at each signal
    const QString unchanged = QStringLiteral("zhōng guó");
    QTest::newRow("typing") << "type x" << QStringList{"zhōngx guó"};
    QTest::newRow("Backspace") << "Backspace" << QStringList{"zhōn guó"};
    QTest::newRow("Delete") << "Delete" << QStringList{"zhōngguó"};
    QTest::newRow("Return") << "Return" << QStringList{"zhōng\n guó"};
    QTest::newRow("input method commit") << "commit" << QStringList{"zhōng中 guó"};
    QTest::newRow("input method replacing") << "replace" << QStringList{"中 guó"};
    QTest::newRow("composing only") << "compose" << QStringList{};
    QTest::newRow("paste") << "paste" << QStringList{"zhōng国 guó"};
    QTest::newRow("cut") << "cut" << QStringList{" guó"};
    QTest::newRow("undo") << "undo" << QStringList{unchanged};
    QTest::newRow("moving and selecting") << "move" << QStringList{};
    QTest::newRow("the program sets the same text") << "set" << QStringList{unchanged};
  }
  void everyChangeSignalsOnceWithItsText() {
    QFETCH(QString, action);
    QFETCH(QStringList, signalled);
    box_->setPlainText(QStringLiteral("zhōng guó"));
    box_->setFocus();
    box_->setCursorPosition(5);
    if (action == QLatin1String("undo")) QTest::keyClicks(box_.get(), "x");
    QStringList seen;
    QObject receiver;
    connect(box_.get(), &LongTextBox::textChanged, &receiver, [&] { seen << box_->toPlainText(); });
    if (action == QLatin1String("type x")) {
      QTest::keyClicks(box_.get(), "x");
    } else if (action == QLatin1String("Backspace")) {
      QTest::keyClick(box_.get(), Qt::Key_Backspace);
    } else if (action == QLatin1String("Delete")) {
      QTest::keyClick(box_.get(), Qt::Key_Delete);
    } else if (action == QLatin1String("Return")) {
      QTest::keyClick(box_.get(), Qt::Key_Return);
    } else if (action == QLatin1String("commit") || action == QLatin1String("replace") ||
               action == QLatin1String("compose")) {
      QInputMethodEvent event(action == QLatin1String("compose") ? QStringLiteral("zh") : QString(),
                              {});
      if (action == QLatin1String("commit")) event.setCommitString(QStringLiteral("中"));
      if (action == QLatin1String("replace")) event.setCommitString(QStringLiteral("中"), -5, 5);
      QApplication::sendEvent(box_.get(), &event);
    } else if (action == QLatin1String("paste")) {
      QApplication::clipboard()->setText(QStringLiteral("国"));
      QTest::keyClick(box_.get(), Qt::Key_V, Qt::ControlModifier);
    } else if (action == QLatin1String("cut")) {
      box_->setCursorPosition(0, true);
      QTest::keyClick(box_.get(), Qt::Key_X, Qt::ControlModifier);
    } else if (action == QLatin1String("undo")) {
      QTest::keyClick(box_.get(), Qt::Key_Z, Qt::ControlModifier);
    } else if (action == QLatin1String("move")) {
      QTest::keyClick(box_.get(), Qt::Key_Left);
      QTest::keyClick(box_.get(), Qt::Key_Right, Qt::ShiftModifier);
      box_->selectAll();
    } else if (action == QLatin1String("set")) {
      box_->setPlainText(QStringLiteral("zhōng guó"));
    } else {
      QFAIL("unknown action");
    }
    QCOMPARE(seen, signalled);
  }

  // Whatever line breaks and characters the program set, the first edit
  // after it signals once, and leaves the text a plain text edit's document
  // holds after the same edit (no-break spaces kept, line breaks as line
  // feeds), apart from the CRs and CR LFs the box keeps.
  void theFirstEditSignalsOnce_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    const std::pair<const char*, QString> texts[] = {
        {"CR LF and CR", QStringLiteral("一\r\n二\r三")},
        {"paragraph and line separators", QStringLiteral("一\u2029二\u2028三")},
        {"a frame's marks", QStringLiteral("一\uFDD0二\uFDD1三")},
        {"no-break spaces", QStringLiteral("一\u00A0二 \u00A0三")},
    };
    const std::pair<const char*, int> keys[] = {
        {"x", Qt::Key_X},
        {"Backspace", Qt::Key_Backspace},
        {"Delete", Qt::Key_Delete},
        {"Return", Qt::Key_Return},
    };
    for (const auto& [textName, text] : texts) {
      for (const auto& [keyName, key] : keys)
        QTest::addRow("%s, %s", textName, keyName) << text << key;
    }
  }
  void theFirstEditSignalsOnce() {
    QFETCH(QString, text);
    QFETCH(int, key);
    QPlainTextEdit plain;
    plain.setPlainText(text);
    QTextCursor caret = plain.textCursor();
    caret.setPosition(2);
    plain.setTextCursor(caret);
    QTest::keyClick(&plain, static_cast<Qt::Key>(key));
    QString expected = plain.document()->toRawText();
    expected.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');

    box_->setPlainText(text);
    box_->setFocus();
    box_->setCursorPosition(BreakMap(text).ToBox(2));
    QStringList seen;
    QObject receiver;
    connect(box_.get(), &LongTextBox::textChanged, &receiver,
            [&] { seen << WithBreaksAsLineFeeds(box_->toPlainText()); });
    QTest::keyClick(box_.get(), static_cast<Qt::Key>(key));
    QCOMPARE(seen, QStringList{expected});
    QCOMPARE(BreakMap(box_->toPlainText()).ToPlain(box_->cursorPosition()),
             plain.textCursor().position());
  }

  // CR and CR LF stay as the program set them. A CR LF is one break: the
  // caret never stands between its halves, and a key takes both. A lone CR
  // that an edit brings before a line feed becomes a line feed, so that the
  // two stay two breaks; undo brings the CR back.
  void breaksStayAsSet_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    // The keys, one letter each: x types x, < is Backspace, > Delete, l and r
    // Left and Right, n Return, i an input method's x for the code unit
    // before the caret, u undo.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caretAfter");
    const QString text = QStringLiteral("一\r\n二\r三");
    QTest::newRow("typing after a CR LF")
        << text << 3 << QStringLiteral("x") << QStringLiteral("一\r\nx二\r三") << 4;
    QTest::newRow("Backspace after a CR LF")
        << text << 3 << QStringLiteral("<") << QStringLiteral("一二\r三") << 1;
    QTest::newRow("Delete before a CR LF")
        << text << 1 << QStringLiteral(">") << QStringLiteral("一二\r三") << 1;
    QTest::newRow("Backspace after a lone CR")
        << text << 5 << QStringLiteral("<") << QStringLiteral("一\r\n二三") << 4;
    QTest::newRow("undo of a Backspace after a CR LF")
        << text << 3 << QStringLiteral("<u") << text << 3;
    QTest::newRow("Left over a CR LF") << text << 3 << QStringLiteral("l") << text << 1;
    QTest::newRow("Right over a CR LF") << text << 1 << QStringLiteral("r") << text << 3;
    QTest::newRow("Right over a lone CR") << text << 4 << QStringLiteral("r") << text << 5;
    QTest::newRow("placed between CR and LF") << text << 2 << QStringLiteral("") << text << 1;
    QTest::newRow("a lone CR brought before a LF by Backspace")
        << QStringLiteral("a\rb\nc") << 3 << QStringLiteral("<") << QStringLiteral("a\n\nc") << 2;
    QTest::newRow("a lone CR brought before a LF by Delete")
        << QStringLiteral("a\rb\nc") << 2 << QStringLiteral(">") << QStringLiteral("a\n\nc") << 2;
    QTest::newRow("lone CRs brought before a LF, one after the other")
        << QStringLiteral("a\r\rb\nc") << 4 << QStringLiteral("<") << QStringLiteral("a\n\n\nc")
        << 3;
    QTest::newRow("and undone") << QStringLiteral("a\rb\nc") << 3 << "<u"
                                << QStringLiteral("a\rb\nc") << 3;
    QTest::newRow("an input method's stretch ending inside a CR LF")
        << QStringLiteral("a\r\nb") << 3 << QStringLiteral("i") << QStringLiteral("axb") << 2;
    QTest::newRow("Return after a lone CR")
        << QStringLiteral("a\r") << 2 << "n" << QStringLiteral("a\n\n") << 3;
    QTest::newRow("Return before a LF after a lone CR")
        << QStringLiteral("a\rb\n") << 3 << QStringLiteral("n") << QStringLiteral("a\rb\n\n") << 4;
  }
  void breaksStayAsSet() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(int, caretAfter);
    box_->setPlainText(text);
    QCOMPARE(box_->toPlainText(), text);
    box_->setFocus();
    box_->setCursorPosition(caret);
    QSignalSpy changed(box_.get(), &LongTextBox::textChanged);
    int edits = 0;
    for (const QChar key : keys) {
      switch (key.unicode()) {
        case u'x':
          QTest::keyClick(box_.get(), Qt::Key_X);
          break;
        case u'<':
          QTest::keyClick(box_.get(), Qt::Key_Backspace);
          break;
        case u'>':
          QTest::keyClick(box_.get(), Qt::Key_Delete);
          break;
        case u'l':
          QTest::keyClick(box_.get(), Qt::Key_Left);
          --edits;
          break;
        case u'r':
          QTest::keyClick(box_.get(), Qt::Key_Right);
          --edits;
          break;
        case u'n':
          QTest::keyClick(box_.get(), Qt::Key_Return);
          break;
        case u'i': {
          // An input method replaces the code unit before the caret with x.
          QInputMethodEvent event;
          event.setCommitString(QStringLiteral("x"), -1, 1);
          QApplication::sendEvent(box_.get(), &event);
          break;
        }
        default:
          box_->undo();
          break;
      }
      ++edits;
    }
    QCOMPARE(box_->toPlainText(), after);
    QCOMPARE(box_->cursorPosition(), caretAfter);
    QCOMPARE(changed.count(), edits);
  }

  // An edit that shortens the text scrolls the box back, and an input method
  // asks where the caret is while it scrolls: the answers must be about the
  // new text.
  void scrollingDuringAnEditShowsTheNewText_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("cursor");  // where the caret ends up
    QTest::newRow("Delete of everything") << "Delete" << 0;
    QTest::newRow("Backspace over the selection") << "Backspace" << 0;
    QTest::newRow("cut") << "cut" << 0;
    QTest::newRow("typing over the selection") << "type" << 1;
    QTest::newRow("the program sets a short text") << "set" << 0;
  }
  void scrollingDuringAnEditShowsTheNewText() {
    QFETCH(QString, action);
    QFETCH(int, cursor);
    box_->setPlainText(QStringLiteral("zhōng guó ").repeated(300));
    box_->setFocus();
    QTest::keyClick(box_.get(), Qt::Key_A, Qt::ControlModifier);
    QScrollBar* bar = box_->verticalScrollBar();
    QVERIFY(bar->value() > 0);
    QList<int> seen;
    QObject receiver;
    connect(bar, &QScrollBar::valueChanged, &receiver, [&] {
      const int position = box_->inputMethodQuery(Qt::ImAbsolutePosition).toInt();
      const int anchor = box_->anchorPosition();
      const QRect caret = box_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
      QVERIFY(caret.isValid());
      seen << position << anchor;
    });
    if (action == QLatin1String("Delete")) {
      QTest::keyClick(box_.get(), Qt::Key_Delete);
    } else if (action == QLatin1String("Backspace")) {
      QTest::keyClick(box_.get(), Qt::Key_Backspace);
    } else if (action == QLatin1String("cut")) {
      QTest::keyClick(box_.get(), Qt::Key_X, Qt::ControlModifier);
    } else if (action == QLatin1String("type")) {
      QTest::keyClicks(box_.get(), "x");
    } else {
      box_->setPlainText(QStringLiteral("x"));
    }
    QCOMPARE(bar->value(), 0);
    QCOMPARE(seen, (QList<int>{cursor, cursor}));
  }

  void undoStopsAtTextSetByTheProgram() {
    box_->setFocus();
    box_->setPlainText(QStringLiteral("zhōng"));
    box_->setCursorPosition(5);
    QTest::keyClicks(box_.get(), " guo");
    box_->setPlainText(QStringLiteral("rén"));
    QTest::keyClick(box_.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box_->toPlainText(), QStringLiteral("rén"));
    box_->setCursorPosition(3);
    QTest::keyClicks(box_.get(), "x");
    QTest::keyClick(box_.get(), Qt::Key_Delete, Qt::NoModifier);
    QTest::keyClick(box_.get(), Qt::Key_Backspace);
    QCOMPARE(box_->toPlainText(), QStringLiteral("rén"));
    QTest::keyClick(box_.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box_->toPlainText(), QStringLiteral("rénx"));
    QTest::keyClick(box_.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box_->toPlainText(), QStringLiteral("rén"));
  }

  // A selection dropped elsewhere in the box moves there, and one undo puts
  // it back.
  void droppingTheSelectionMovesIt() {
    box_->setPlainText(QStringLiteral("zhōng guó rén"));
    box_->setCursorPosition(6);
    box_->setCursorPosition(10, true);  // "guó "
    QMimeData data;
    data.setText(box_->selectedText());
    const QPoint end(box_->viewport()->width() - 10, 10);  // past the end of the text
    QDropEvent drop(end, Qt::MoveAction, &data, Qt::LeftButton, {});
    drop.setDropAction(Qt::MoveAction);
    QDragEnterEvent enter(end, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box_->viewport(), &enter);
    // The box is the drag's source only while it drags; a drop from
    // elsewhere copies.
    QApplication::sendEvent(box_->viewport(), &drop);
    QCOMPARE(box_->toPlainText(), QStringLiteral("zhōng guó rénguó "));
    QTest::keyClick(box_.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box_->toPlainText(), QStringLiteral("zhōng guó rén"));
  }

  // Text dragged in from another widget is copied: the box the program
  // rewrites never takes it from where it was.
  void aDropFromElsewhereCopies() {
    box_->setPlainText(QStringLiteral("zhōng"));
    QWidget source;
    QMimeData data;
    data.setText(QStringLiteral("guó"));
    const QPoint end(box_->viewport()->width() - 10, 10);
    // Shift proposes a move.
    QDragEnterEvent enter(end, Qt::MoveAction | Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::ShiftModifier);
    QApplication::sendEvent(box_->viewport(), &enter);
    QDropEvent drop(end, Qt::MoveAction | Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(drop.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(box_->viewport(), &drop);
    QCOMPARE(box_->toPlainText(), QStringLiteral("zhōngguó"));
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
  }

  // After a paste the caret's line is in view, however long the paste.
  void thePastedEndIsInView_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pasted");
    QTest::newRow("a page over a short text")
        << QStringLiteral("zhōng") << QStringLiteral("zhōng guó rén mín ").repeated(1069);
    QTest::newRow("a million letters")
        << QString() << QStringLiteral("zhong guo ").repeated(100000);
    QTest::newRow("many short paragraphs")
        << QStringLiteral("a\n").repeated(50) << QStringLiteral("中国\n").repeated(5000);
  }
  void thePastedEndIsInView() {
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    box_->setPlainText(before);
    box_->selectAll();
    QApplication::clipboard()->setText(pasted);
    box_->setFocus();
    QTest::keyClick(box_.get(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box_->cursorPosition(), static_cast<int>(pasted.size()));
    const QRect caret = box_->cursorRect();
    QVERIFY2(box_->viewport()->rect().contains(caret),
             qPrintable(QStringLiteral("caret at %1,%2").arg(caret.x()).arg(caret.y())));
  }

  // Read line by line, forwards and back, a screen reader hears each line
  // once and then nothing past the first and last.
  void aScreenReaderReadsLineByLine() {
    box_->setPlainText(QStringLiteral("zhōng guó\n\nrén mín\n"));
    QAccessibleTextInterface* text =
        QAccessible::queryAccessibleInterface(box_.get())->textInterface();
    const auto read = [&](auto next, int offset) {
      QStringList heard;
      int start = 0;
      int end = 0;
      for (QString line = next(offset, &start, &end); start >= 0; line = next(start, &start, &end))
        heard << QStringLiteral("%1-%2 %3").arg(start).arg(end).arg(line);
      return heard;
    };
    const auto after = [&](int offset, int* start, int* end) {
      return text->textAfterOffset(offset, QAccessible::LineBoundary, start, end);
    };
    const auto before = [&](int offset, int* start, int* end) {
      return text->textBeforeOffset(offset, QAccessible::LineBoundary, start, end);
    };
    QCOMPARE(read(after, 0), QStringList({"10-10 ", "11-18 rén mín", "19-19 "}));
    QCOMPARE(read(before, 19), QStringList({"11-18 rén mín", "10-10 ", "0-9 zhōng guó"}));
  }

  void surrogatePairsMoveAndDeleteWhole() {
    box_->setPlainText(QStringLiteral("a\U00020000b"));
    box_->setFocus();
    box_->setCursorPosition(1);
    QTest::keyClick(box_.get(), Qt::Key_Right);
    QCOMPARE(box_->cursorPosition(), 3);
    QTest::keyClick(box_.get(), Qt::Key_Backspace);
    QCOMPARE(box_->toPlainText(), QStringLiteral("ab"));
  }

 private:
  std::unique_ptr<LongTextBox> box_;
};

QTEST_MAIN(LongTextBoxTest)
#include "long_text_box_test.moc"
