// The main window driven as a user would: controls found by name, text typed,
// list entries clicked, the window resized.
#include "app/form1.h"

#include <QAccessible>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFocusFrame>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <random>
#include <utility>

#include "gui_test_support.h"
#include "tests/test_support.h"
#include "textbox/long_text_box.h"
#include "textbox/tests/text_box_test_support.h"

using namespace kelvaro;

namespace {

const QByteArray kWords = QByteArrayLiteral(
    "\xD6\xD0\xB9\xFA\r\n"  // 中国
    "\xC5\xAE\r\n"          // 女
    "\xCB\xAD\r\n"          // 谁
    "abc\r\n"
    "\xC2\xE8\xC2\xE8\r\n"  // 妈妈
    "\xBF\xEC\xC0\xD6\r\n"  // 快乐
    "\r\n"
    "\xB9\xB7\r\n");  // 狗, after the end

// Commits text as a pinyin input method does when the child picks characters.
void TypeThroughInputMethod(QWidget* widget, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(widget, &event);
}

QStringList Entries(QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

// A data row for each of the source, pinyin and hint boxes.
void AddTextBoxRows() {
  QTest::addColumn<QString>("name");
  for (const char* name : {"Text1", "Text2", "Text5"}) QTest::newRow(name) << name;
}

// An input method that commits the text being composed into its box once
// the focus moves on, as fcitx5 does, even when the move comes from a window
// being destroyed.
class CommittingInputMethod : public QObject {
 public:
  CommittingInputMethod() {
    connect(qApp, &QGuiApplication::focusObjectChanged, this, [this](QObject* focus) {
      if (box_ == nullptr || focus == box_) return;
      QInputMethodEvent commit;
      commit.setCommitString(std::exchange(preedit_, QString()));
      QApplication::sendEvent(std::exchange(box_, nullptr), &commit);
      ++commits_;
    });
  }
  void Compose(QWidget* box, const QString& preedit) {
    box->setFocus();
    QInputMethodEvent composing(preedit, {});
    QApplication::sendEvent(box, &composing);
    box_ = box;
    preedit_ = preedit;
  }
  int commits() const { return commits_; }

 private:
  QWidget* box_ = nullptr;
  QString preedit_;
  int commits_ = 0;
};

class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened << url; }
};

}  // namespace

class Form1Test : public MainWindowTest {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(OpenMainWindow(&kWords)); }
  void cleanup() { CloseMainWindow(); }

  void controlsStandWhereTheDesignPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");  // pixels at 96 dpi; -1: set by the layout
    QTest::addColumn<bool>("shown");
    QTest::newRow("Image1") << "Image1" << QRect(680, 0, 342, 50) << true;
    QTest::newRow("Label6") << "Label6" << QRect(8, 16, 97, 25) << true;
    QTest::newRow("Command5") << "Command5" << QRect(584, 24, 65, 25) << true;
    QTest::newRow("Label1") << "Label1" << QRect(136, 32, 217, 25) << true;
    QTest::newRow("List1") << "List1" << QRect(8, 48, 121, -1) << true;
    QTest::newRow("Text1") << "Text1" << QRect(136, 50, -1, 57) << true;
    QTest::newRow("Label2") << "Label2" << QRect(136, 112, 129, 17) << true;
    QTest::newRow("Text2") << "Text2" << QRect(136, 128, -1, 73) << true;
    QTest::newRow("Label5") << "Label5" << QRect(136, 208, 129, 17) << true;
    QTest::newRow("Label3") << "Label3" << QRect(272, 208, 665, 17) << true;
    QTest::newRow("Text5") << "Text5" << QRect(136, 224, -1, 73) << true;
    QTest::newRow("Image3") << "Image3" << QRect(136, 304, 650, 219) << true;
    QTest::newRow("Label4") << "Label4" << QRect(136, 528, 217, 17) << true;
    QTest::newRow("Text4") << "Text4" << QRect(136, 544, -1, -1) << true;
    QTest::newRow("Command1") << "Command1" << QRect(120, 0, 57, 17) << false;
    QTest::newRow("Option3") << "Option3" << QRect(352, 0, 57, 25) << false;
    QTest::newRow("Option1") << "Option1" << QRect(352, 24, 65, 25) << false;
    QTest::newRow("Image2(0) Q") << "Image2(0)" << QRect(212, 376, 13, 8) << false;
    QTest::newRow("Image2(7) I") << "Image2(7)" << QRect(513, 376, 13, 8) << false;
    QTest::newRow("Image2(18) L") << "Image2(18)" << QRect(584, 416, 13, 8) << false;
    QTest::newRow("Image2(25) M") << "Image2(25)" << QRect(520, 459, 13, 8) << false;
  }
  void controlsStandWhereTheDesignPutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, shown);
    auto* control = Child<QWidget>(form1(), name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->pos(), geometry.topLeft());
    if (geometry.width() >= 0) QCOMPARE(control->width(), geometry.width());
    if (geometry.height() >= 0) QCOMPARE(control->height(), geometry.height());
    QCOMPARE(control->isVisible(), shown);
  }

  void windowCaptionTextsAndFonts() {
    QCOMPARE(form1()->windowTitle(), QStringLiteral("Kelvaro2.0版"));
    QCOMPARE(Child<QLabel>(form1(), "Label6")->text(),
             QStringLiteral("小孩子感兴趣的词（请点击）"));
    QCOMPARE(Child<QLabel>(form1(), "Label1")->text(),
             QStringLiteral("文字框:(把要练习的文字拷贝到这里)"));
    QCOMPARE(Child<QLabel>(form1(), "Label2")->text(), QStringLiteral("拼音:"));
    QCOMPARE(Child<QLabel>(form1(), "Label5")->text(), QStringLiteral("打字提示:"));
    QCOMPARE(Child<QLabel>(form1(), "Label4")->text(),
             QStringLiteral("打字框:(在这个文本框中练习输入文字)"));
    QCOMPARE(Child<QPushButton>(form1(), "Command5")->text(), QStringLiteral("帮助"));
    QCOMPARE(Child<QLabel>(form1(), "Label1")->palette().color(QPalette::WindowText),
             QColor(255, 0, 0));
    QCOMPARE(Child<QLabel>(form1(), "Label3")->palette().color(QPalette::WindowText),
             QColor(255, 0, 0));
    QCOMPARE(Child<QLabel>(form1(), "Label5")->palette().color(QPalette::WindowText),
             QColor(0, 0, 192));
    QCOMPARE(Child<QLabel>(form1(), "Label4")->palette().color(QPalette::WindowText),
             QColor(0, 0, 192));
    QVERIFY(Child<QRadioButton>(form1(), "Option3")->isChecked());
    QVERIFY(!Child<QRadioButton>(form1(), "Option1")->isChecked());
  }

  void boxFonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("size");
    const std::pair<const char*, double> fonts[] = {
        {"Text1", 14.25}, {"Text2", 24}, {"Text5", 24}, {"Text4", 24}, {"List1", 12}};
    for (const auto& [name, size] : fonts) QTest::newRow(name) << QString(name) << size;
  }
  void boxFonts() {
    QFETCH(QString, name);
    QFETCH(double, size);
    const QFont font = Child<QWidget>(form1(), name)->font();
    QCOMPARE(font.families().value(0), QStringLiteral("宋体"));
    // Noto Serif CJK SC before AR PL UMing CN: the latter draws l like 1.
    QVERIFY(font.families().indexOf(QStringLiteral("Noto Serif CJK SC")) <
            font.families().indexOf(QStringLiteral("AR PL UMing CN")));
    QCOMPARE(font.pointSizeF(), size);
  }

  void thePracticeBoxWrapsScrollsAndIsEditable() {
    auto* text4 = Child<QPlainTextEdit>(form1(), "Text4");
    QCOMPARE(text4->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(text4->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!text4->isReadOnly());
  }

  void textBoxesWrapScrollAndAreEditable_data() { AddTextBoxRows(); }
  void textBoxesWrapScrollAndAreEditable() {
    QFETCH(QString, name);
    auto* box = Child<LongTextBox>(form1(), name);
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // The sample and its readings wrap within the box's width.
    const QList<int> starts = LineStarts(box);
    QVERIFY(starts.size() > 2);
    QVERIFY(box->toPlainText().at(starts[1] - 1) != QLatin1Char('\n'));
    box->setFocus();
    box->setCursorPosition(0);
    QTest::keyClicks(box, "ab");
    QVERIFY(box->toPlainText().startsWith(QStringLiteral("ab")));
  }

  // At start every box shows the beginning of its text, its first line whole.
  void theBoxesOpenAtTheirFirstLine_data() { AddTextBoxRows(); }
  void theBoxesOpenAtTheirFirstLine() {
    QFETCH(QString, name);
    auto* box = Child<LongTextBox>(form1(), name);
    QCOMPARE(box->verticalScrollBar()->value(), 0);
    QCOMPARE(box->cursorPosition(), 0);
  }

  void focusStartsInTheSourceBoxAndFollowsTheTabOrder() {
    QTRY_COMPARE(QApplication::focusWidget(), Child<QWidget>(form1(), "Text1"));
    QStringList order;
    QWidget* widget = Child<QWidget>(form1(), "Text1");
    do {
      if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus))
        order << widget->objectName();
      widget = widget->nextInFocusChain();
    } while (widget != Child<QWidget>(form1(), "Text1"));
    QCOMPARE(order, (QStringList{"Text1", "Text2", "Text4", "Text5", "List1", "Command5"}));
  }

  void theSampleTextIsConvertedAtStart() {
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    QVERIFY(text1->toPlainText().endsWith(QLatin1Char('\n')));
    QVERIFY(Child<LongTextBox>(form1(), "Text2")
                ->toPlainText()
                .startsWith(QStringLiteral("qǐng bǎ yào")));
    QVERIFY(Child<LongTextBox>(form1(), "Text5")
                ->toPlainText()
                .startsWith(QStringLiteral("QING BA YAO")));
    QVERIFY(LitMarkers(form1()).isEmpty());
  }

  void typingConvertsAtEveryChange() {
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    auto* text2 = Child<LongTextBox>(form1(), "Text2");
    auto* text5 = Child<LongTextBox>(form1(), "Text5");
    text1->setFocus();
    text1->selectAll();
    QTest::keyClick(text1, Qt::Key_Delete);
    QCOMPARE(text2->toPlainText(), QString());
    QCOMPARE(text5->toPlainText(), QString());
    TypeThroughInputMethod(text1, QStringLiteral("重"));
    QCOMPARE(text2->toPlainText(), QStringLiteral("zhòng "));
    TypeThroughInputMethod(text1, QStringLiteral("庆"));
    QCOMPARE(text2->toPlainText(), QStringLiteral("chóng qìng "));
    QCOMPARE(text5->toPlainText(), QStringLiteral("CHONG QING "));
    QTest::keyClick(text1, Qt::Key_Return);
    QTest::keyClicks(text1, QStringLiteral("abc"));
    TypeThroughInputMethod(text1, QStringLiteral("，谁"));
    QCOMPARE(text2->toPlainText(), QStringLiteral("chóng qìng shuí "));
    // The hint of 谁 types the shown shuí (it was SHEI, the dictionary reading).
    QCOMPARE(text5->toPlainText(), QStringLiteral("CHONG QING SHUI "));
  }

  // A random walk of a child's and a parent's edits of the source box: after
  // each, the pinyin and hint boxes show what converting the whole source
  // gives, also after the user typed into one of them.
  void everyEditShowsTheConversionOfTheWholeSource() {
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    auto* text2 = Child<LongTextBox>(form1(), "Text2");
    auto* text5 = Child<LongTextBox>(form1(), "Text5");
    const QStringList pieces = {
        QStringLiteral("一只小鸟"), QStringLiteral("高兴"), QStringLiteral("重庆"),
        QStringLiteral("长大了"),   QStringLiteral("还给"), QStringLiteral("睡着"),
        QStringLiteral("成长"),     QStringLiteral("ab "),  QStringLiteral("，"),
        QStringLiteral("\n"),       QStringLiteral("𠀀"),   QStringLiteral("行"),
        QStringLiteral("得"),       QStringLiteral("地"),   QStringLiteral("不对")};
    std::mt19937 random(8122026);
    for (int step = 0; step < 400; ++step) {
      QWidget* focused = text1;
      const int size = static_cast<int>(text1->toPlainText().size());
      text1->setCursorPosition(static_cast<int>(random() % (size + 1)));
      if (random() % 3 == 0) {
        text1->setCursorPosition(static_cast<int>(random() % (size + 1)), true);
      }
      switch (random() % 8) {
        case 0:
        case 1:
        case 2:
          TypeThroughInputMethod(text1, pieces[static_cast<int>(random() % pieces.size())]);
          break;
        case 3:
          QTest::keyClick(text1, Qt::Key_Backspace);
          break;
        case 4:
          QTest::keyClick(text1, Qt::Key_Delete);
          break;
        case 5:
          QTest::keyClick(text1, Qt::Key_Z, Qt::ControlModifier);
          break;
        case 6:
          text1->replaceAll(pieces[static_cast<int>(random() % pieces.size())].repeated(
              static_cast<int>(random() % 40)));
          break;
        case 7:
          // The user types into the pinyin or the hint box, and then into
          // the source box.
          focused = random() % 2 == 0 ? text2 : text5;
          TypeThroughInputMethod(focused, QStringLiteral("x"));
          text1->setCursorPosition(text1->cursorPosition());
          TypeThroughInputMethod(text1, QStringLiteral("长"));
          break;
      }
      const ConversionResult whole =
          Converter().Convert(text1->toPlainText().toStdU16String(), DisplayMode::kReadingOnly);
      QCOMPARE(text2->toPlainText(), QString::fromStdU16String(whole.pinyin));
      QCOMPARE(text5->toPlainText(), QString::fromStdU16String(whole.hints));
    }
  }

  void choosingAWordLightsItsKeys_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("hints");
    QTest::addColumn<QList<int>>("lit");
    QTest::newRow("中国") << 0 << "ZHONG GUO " << QList<int>{6, 8, 14, 15, 19, 24};
    QTest::newRow("女") << 1 << "NV " << QList<int>{22, 24};
    // 谁 shows shuí, so S, H, U, I light (it was S, H, E, I from "shei2").
    QTest::newRow("谁") << 2 << "SHUI " << QList<int>{6, 7, 11, 15};
    QTest::newRow("abc") << 3 << "" << QList<int>{};
    QTest::newRow("妈妈") << 4 << "MA MA " << QList<int>{10, 25};
    // 快乐 shows kuài lè, so K, U, A, I, L, E light (Y and E came from "yue4").
    QTest::newRow("快乐") << 5 << "KUAI LE " << QList<int>{2, 6, 7, 10, 17, 18};
    QTest::newRow("empty entry") << 6 << "" << QList<int>{};
  }
  void choosingAWordLightsItsKeys() {
    QFETCH(int, row);
    QFETCH(QString, hints);
    QFETCH(QList<int>, lit);
    auto* list = Child<QListWidget>(form1(), "List1");
    // Light every key first, so that a choice must also darken.
    list->setCurrentRow(row == 0 ? 4 : 0);
    QListWidgetItem* item = list->item(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    QCOMPARE(list->currentRow(), row);
    QCOMPARE(Child<LongTextBox>(form1(), "Text1")->toPlainText(), item->text());
    QCOMPARE(Child<LongTextBox>(form1(), "Text5")->toPlainText(), hints);
    QCOMPARE(LitMarkers(form1()), lit);
  }

  // A choice replaces a pasted text as a paste does: one undo brings it back.
  void undoBringsBackTheTextBeforeAChoice() {
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    const QString poem = QStringLiteral("白日依山尽，\n黄河入海流。");
    QApplication::clipboard()->setText(poem);
    text1->setFocus();
    QTest::keyClick(text1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
    auto* list = Child<QListWidget>(form1(), "List1");
    QListWidgetItem* item = list->item(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    QCOMPARE(text1->toPlainText(), item->text());
    QTest::keyClick(text1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(text1->toPlainText(), poem);
    QCOMPARE(Child<LongTextBox>(form1(), "Text5")->toPlainText(),
             QStringLiteral("BAI RI YI SHAN JIN HUANG HE RU HAI LIU "));
  }

  void choosingByKeyboardAndTypingAfterwards() {
    auto* list = Child<QListWidget>(form1(), "List1");
    list->setFocus();
    list->setCurrentRow(1);  // 女
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(LitMarkers(form1()), (QList<int>{6, 8, 14, 15, 19, 24}));
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    text1->setFocus();
    text1->setCursorPosition(static_cast<int>(text1->toPlainText().size()));
    TypeThroughInputMethod(text1, QStringLiteral("爸爸"));
    QCOMPARE(Child<LongTextBox>(form1(), "Text5")->toPlainText(),
             QStringLiteral("ZHONG GUO BA BA "));
    QCOMPARE(LitMarkers(form1()), (QList<int>{6, 8, 14, 15, 19, 24}));
    form1()->resize(700, 500);
    QCOMPARE(LitMarkers(form1()), (QList<int>{6, 8, 14, 15, 19, 24}));
    QCOMPARE(Child<QWidget>(form1(), "Image2(19)")->pos(), QPoint(256, 459));
  }

  // Focus alone chooses nothing, however it comes; the first arrow key then
  // chooses the first entry.
  void focusInTheWordListChoosesNothing_data() {
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::newRow("Tab") << Qt::TabFocusReason;
    QTest::newRow("Shift+Tab") << Qt::BacktabFocusReason;
    QTest::newRow("back from another window") << Qt::ActiveWindowFocusReason;
    QTest::newRow("mouse") << Qt::MouseFocusReason;
    QTest::newRow("other") << Qt::OtherFocusReason;
  }
  void focusInTheWordListChoosesNothing() {
    QFETCH(Qt::FocusReason, reason);
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    auto* list = Child<QListWidget>(form1(), "List1");
    const QString sample = text1->toPlainText();
    list->setFocus(reason);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    text1->setFocus(Qt::TabFocusReason);
    list->setFocus(reason);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    QCOMPARE(text1->toPlainText(), sample);
    QVERIFY(LitMarkers(form1()).isEmpty());
    QVERIFY(list->selectedItems().isEmpty());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(text1->toPlainText(), QStringLiteral("中国"));
    QCOMPARE(LitMarkers(form1()), (QList<int>{6, 8, 14, 15, 19, 24}));
  }

  void tabbingThroughTheWindowKeepsTheSourceText() {
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    auto* list = Child<QListWidget>(form1(), "List1");
    const QString sample = text1->toPlainText();
    QTRY_COMPARE(QApplication::focusWidget(), text1);
    for (int i = 0; i < 4; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), Child<QWidget>(form1(), "Text5"));
    QCOMPARE(text1->toPlainText(), sample);
    QVERIFY(LitMarkers(form1()).isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(text1->toPlainText(), QStringLiteral("中国"));
  }

  // A click on an entry chooses it, selected before or not, and chooses it once.
  void clickingTheSelectedEntryChoosesItAgain() {
    auto* list = Child<QListWidget>(form1(), "List1");
    auto* text1 = Child<LongTextBox>(form1(), "Text1");
    const QPoint china = list->visualItemRect(list->item(0)).center();
    QSignalSpy changes(text1, &LongTextBox::textChanged);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, china);
    QCOMPARE(changes.size(), 1);
    text1->setFocus();
    text1->setCursorPosition(static_cast<int>(text1->toPlainText().size()));
    TypeThroughInputMethod(text1, QStringLiteral("爸爸"));
    QCOMPARE(text1->toPlainText(), QStringLiteral("中国爸爸"));
    changes.clear();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, china);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(text1->toPlainText(), QStringLiteral("中国"));
    QCOMPARE(Child<LongTextBox>(form1(), "Text5")->toPlainText(), QStringLiteral("ZHONG GUO "));
    QCOMPARE(LitMarkers(form1()), (QList<int>{6, 8, 14, 15, 19, 24}));
    // A click below the last entry chooses nothing.
    changes.clear();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(5, list->viewport()->height() - 2));
    QCOMPARE(changes.size(), 0);
  }

  // The markers have no click handler: a click on a lit one does nothing, and
  // in particular does not reach the keyboard picture below it.
  void clickingALitMarkerDoesNothing() {
    auto* list = Child<QListWidget>(form1(), "List1");
    list->setCurrentRow(0);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    for (int lit : {6, 19}) {
      ClickWindowAt(Child<QWidget>(form1(), QStringLiteral("Image2(%1)").arg(lit)));
    }
    // The keyboard beside them still opens the home page.
    ClickWindowAt(Child<QWidget>(form1(), "Image3"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(recorder.opened.size(), 1);
    QCOMPARE(Child<LongTextBox>(form1(), "Text1")->toPlainText(), QStringLiteral("中国"));
    QCOMPARE(LitMarkers(form1()), (QList<int>{6, 8, 14, 15, 19, 24}));
  }

  void theWordListEndsAtItsFirstEmptyLine() {
    QCOMPARE(Entries(Child<QListWidget>(form1(), "List1")),
             (QStringList{"中国", "女", "谁", "abc", "妈妈", "快乐", ""}));
    QCOMPARE(Child<QListWidget>(form1(), "List1")->currentRow(), -1);
  }

  void wordListFiles_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("no file") << false << QByteArray() << QStringList{};
    QTest::newRow("empty file") << true << QByteArray() << QStringList{};
    QTest::newRow("last line without CR LF")
        << true << QByteArray("a\r\nb\r\nc") << QStringList{"a", "b"};
    QTest::newRow("LF only") << true << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("GBK with LF only")
        << true << QByteArray("\xD6\xD0\n\xB9\xFA\n") << QStringList{};
    QTest::newRow("UTF-8 with a byte-order mark")
        << true << QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD\xE5\x9B\xBD\n") << QStringList{"中国"};
    QTest::newRow("starts with CR LF") << true << QByteArray("\r\na\r\n") << QStringList{""};
    QTest::newRow("spaces kept") << true << QByteArray(" a \r\n") << QStringList{" a "};
    QTest::newRow("invalid GBK") << true << QByteArray("\xFF\xD6\xD0\r\n")
                                 << QStringList{"\uFFFD中"};
  }
  void wordListFiles() {
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    MainWindow window(present ? &bytes : nullptr);
    QCOMPARE(Entries(Child<QListWidget>(&window.form, "List1")), entries);
    // The conversion of the sample text ran all the same.
    QVERIFY(!Child<LongTextBox>(&window.form, "Text5")->toPlainText().isEmpty());
    if (present) {
      QFile file(window.directory.wordListPath());
      QVERIFY(file.open(QIODevice::ReadOnly));
      QCOMPARE(file.readAll(), bytes);
    }
  }

  // A parent's own list in $XDG_CONFIG_HOME/kelvaro/ comes before the one
  // beside the program; without a readable one the window shows that one.
  void theParentsOwnListComesFirst_data() {
    QTest::addColumn<QString>("own");  // what lies at the own list's path
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("UTF-8 list") << "list" << QStringList{"恐龙", "小熊猫"};
    QTest::newRow("none") << "none" << QStringList{"中国"};
    QTest::newRow("a folder") << "folder" << QStringList{"中国"};
  }
  void theParentsOwnListComesFirst() {
    QFETCH(QString, own);
    QFETCH(QStringList, entries);
    const QByteArray installed("\xD6\xD0\xB9\xFA\r\n");
    QTemporaryDir config;
    QVERIFY(QDir(config.path()).mkpath(QStringLiteral("kelvaro")));
    const QString ownPath = config.filePath(QStringLiteral("kelvaro/") + WordListFileName());
    if (own == QStringLiteral("list")) {
      QFile file(ownPath);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("\xE6\x81\x90\xE9\xBE\x99\n\xE5\xB0\x8F\xE7\x86\x8A\xE7\x8C\xAB\n");
    } else if (own == QStringLiteral("folder")) {
      QVERIFY(QDir().mkpath(ownPath));
    }
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    MainWindow window(&installed);
    if (wasSet) {
      qputenv("XDG_CONFIG_HOME", before);
    } else {
      qunsetenv("XDG_CONFIG_HOME");
    }
    QCOMPARE(Entries(Child<QListWidget>(&window.form, "List1")), entries);
  }

  // The entries as the table of their checked readings lists them.
  void theShippedWordListIsLoadedInFileOrder() {
    Form1 form(std::filesystem::path(KELVARO_PROGRAM_DIR));
    QStringList expected;
    for (const ExpectedReading& row : ReadExpectedReadings("word-list-readings.tsv")) {
      expected << QString::fromStdString(row.entry);
    }
    QVERIFY(expected.size() >= 120);
    QVERIFY(expected.contains(QStringLiteral("照相机")));
    QCOMPARE(Entries(Child<QListWidget>(&form, "List1")), expected);
  }

  void resizingStretchesTheTextColumn_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<int>("text4Height");
    QTest::addColumn<int>("listHeight");
    // 1024 x 768 px is 15360 x 11520 twips: 13003.2, 2784 and 10254 twips.
    QTest::newRow("1024 x 768") << QSize(1024, 768) << 867 << 186 << 684;
    QTest::newRow("too low: Text4 keeps its height") << QSize(1024, 500) << 867 << 186 << 684;
    QTest::newRow("too narrow: widths stay") << QSize(100, 768) << 867 << 186 << 684;
  }
  void resizingStretchesTheTextColumn() {
    QFETCH(QSize, size);
    QFETCH(int, textWidth);
    QFETCH(int, text4Height);
    QFETCH(int, listHeight);
    // The layout reads the window's outer size, frame included.
    const QSize frame = form1()->frameGeometry().size() - form1()->size();
    form1()->resize(QSize(1024, 768) - frame);
    form1()->resize(size - frame);
    QTRY_COMPARE(form1()->frameGeometry().size(), size);
    for (const char* name : {"Text1", "Text2", "Text5", "Text4"}) {
      const int width = Child<QWidget>(form1(), name)->width();
      QVERIFY2(width == textWidth,
               qPrintable(QStringLiteral("%1 is %2 px wide").arg(name).arg(width)));
    }
    QCOMPARE(Child<QWidget>(form1(), "Text4")->height(), text4Height);
    QCOMPARE(Child<QWidget>(form1(), "List1")->height(), listHeight);
    QCOMPARE(Child<QWidget>(form1(), "Text1")->height(), 57);
    QCOMPARE(Child<QWidget>(form1(), "Image3")->geometry(), QRect(136, 304, 650, 219));
  }

  // The window goes with a pinyin still being composed in a box; the input
  // method commits it as the focus leaves, while the window is destroyed.
  void goingWithTextBeingComposed_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("closedFirst");  // closed as by the window manager, then destroyed
    for (const char* name : {"Text1", "Text2", "Text4", "Text5"}) {
      QTest::addRow("%s, destroyed", name) << name << false;
      QTest::addRow("%s, closed", name) << name << true;
    }
  }
  void goingWithTextBeingComposed() {
    QFETCH(QString, name);
    QFETCH(bool, closedFirst);
    QVERIFY(QTest::qWaitForWindowActive(form1()));
    CommittingInputMethod inputMethod;
    inputMethod.Compose(Child<QWidget>(form1(), name), QStringLiteral("nihao"));
    if (closedFirst) QVERIFY(form1()->close());
    CloseMainWindow();
    QCOMPARE(inputMethod.commits(), 1);
  }

  void linksOpenTheHomePageOncePerClick() {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    for (const char* name : {"Image1", "Image3", "Label3"}) {
      Click(Child<QWidget>(form1(), name));
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(recorder.opened.size(), 3);
    QCOMPARE(recorder.opened.at(0), recorder.opened.at(1));
    QCOMPARE(recorder.opened.at(0), recorder.opened.at(2));
    QVERIFY(recorder.opened.at(0).isLocalFile());
    QVERIFY(recorder.opened.at(0).path().endsWith(QStringLiteral("/share/kelvaro/index.html")));
  }

  // What assistive technology is told of each control: its role and name,
  // the caption that labels it, and whether a press opens the home page.
  void controlsAsAssistiveTechnologyHasThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("opensHomePage");
    const auto row = [](const char* name, QAccessible::Role role, const char* accessibleName,
                        const char* caption, bool opensHomePage) {
      QTest::newRow(name) << name << role << QString::fromUtf8(accessibleName)
                          << QString::fromUtf8(caption) << opensHomePage;
    };
    row("Text1", QAccessible::EditableText, "文字框", "Label1", false);
    row("Text2", QAccessible::EditableText, "拼音", "Label2", false);
    row("Text5", QAccessible::EditableText, "打字提示", "Label5", false);
    row("Text4", QAccessible::EditableText, "打字框", "Label4", false);
    row("List1", QAccessible::List, "小孩子感兴趣的词", "Label6", false);
    row("Image1", QAccessible::Button, "横幅：打开主页", "", true);
    row("Image3", QAccessible::Button, "键盘图：打开主页", "", true);
    row("Label3", QAccessible::Button, "想要更多好玩的练习？点这里看看我们的主页。", "", true);
    // A key marker does nothing when clicked: a picture with no name.
    row("Image2(7)", QAccessible::StaticText, "", "", false);
  }
  void controlsAsAssistiveTechnologyHasThem() {
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, accessibleName);
    QFETCH(QString, caption);
    QFETCH(bool, opensHomePage);
    QAccessibleInterface* control =
        QAccessible::queryAccessibleInterface(Child<QWidget>(form1(), name));
    QVERIFY(control);
    QCOMPARE(control->role(), role);
    QCOMPARE(control->text(QAccessible::Name), accessibleName);
    if (!caption.isEmpty()) {
      QAccessibleInterface* label =
          QAccessible::queryAccessibleInterface(Child<QWidget>(form1(), caption));
      const auto labelled = label->relations(QAccessible::Labelled);
      QVERIFY2(std::ranges::any_of(labelled,
                                   [&](const auto& relation) { return relation.first == control; }),
               qPrintable(caption));
    }
    QAccessibleActionInterface* actions = control->actionInterface();
    const bool pressable =
        actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
    QCOMPARE(pressable, opensHomePage);
    if (pressable) {
      UrlRecorder recorder;
      QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
      actions->doAction(QAccessibleActionInterface::pressAction());
      QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
      QCOMPARE(recorder.opened.size(), 1);
      QVERIFY(recorder.opened.at(0).path().endsWith(QStringLiteral("/share/kelvaro/index.html")));
    }
  }

  // The window's accessible children are its controls but those never
  // shown, which are neither focusable nor visible; each child stands at the
  // index the window gives for it.
  void neverShownControlsAreLeftOutOfTheAccessibleTree() {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form1());
    QList<QObject*> children;
    for (int i = 0; i < window->childCount(); ++i) {
      QAccessibleInterface* child = window->child(i);
      QVERIFY(child);
      QCOMPARE(window->indexOfChild(child), i);
      QCOMPARE(child->parent(), window);
      children << child->object();
    }
    for (const char* name : {"Command1", "Option3", "Option1"}) {
      auto* control = Child<QWidget>(form1(), name);
      QVERIFY2(control && !children.contains(control), name);
      const QAccessible::State state = QAccessible::queryAccessibleInterface(control)->state();
      QVERIFY2(!state.focusable && state.invisible, name);
      QCOMPARE(window->indexOfChild(QAccessible::queryAccessibleInterface(control)), -1);
    }
    for (QWidget* control : form1()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const bool neverShown =
          QStringList{"Command1", "Option3", "Option1"}.contains(control->objectName());
      if (!neverShown && !qobject_cast<QFocusFrame*>(control))
        QVERIFY2(children.contains(control), qPrintable(control->objectName()));
    }
  }

  // Tab to the word list draws a frame around it, outside it, and leaving
  // the list takes the frame away; the list itself looks the same.
  void theWordListShowsItsFocus() {
    QVERIFY(QTest::qWaitForWindowActive(form1()));
    auto* list = Child<QListWidget>(form1(), "List1");
    const QRect around = list->geometry().adjusted(-4, -4, 4, 4);
    const auto shot = [&] {
      QApplication::processEvents();
      return std::pair{form1()->grab(around).toImage(), list->grab().toImage()};
    };
    const auto [ringBefore, listBefore] = shot();
    list->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    const auto [ringWithFocus, listWithFocus] = shot();
    QVERIFY(ringWithFocus != ringBefore);
    QCOMPARE(listWithFocus, listBefore);
    Child<QWidget>(form1(), "Text1")->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!list->hasFocus());
    const auto [ringAfter, listAfter] = shot();
    QCOMPARE(ringAfter, ringBefore);
    QCOMPARE(listAfter, listBefore);
  }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
