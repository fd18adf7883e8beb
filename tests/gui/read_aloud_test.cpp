// Reading aloud driven as a user would: the context menus of the source and
// pinyin boxes, a double-click on the word list, the shortcut. A recording
// speaker stands in for the voice; the last cases use the real one.
#include "app/read_aloud.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <optional>

#include "app/form1.h"
#include "app/list_entry.h"
#include "app/qt_text.h"
#include "convert/conversion.h"
#include "gui_test_support.h"
#include "tests/test_support.h"
#include "textbox/long_text_box.h"

using namespace kelvaro;

namespace {

// Opens the box's context menu as a right-click does and returns it.
QMenu* OpenContextMenu(QAbstractScrollArea* box) {
  const QPoint at = box->viewport()->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->viewport()->mapToGlobal(at));
  QApplication::sendEvent(box->viewport(), &event);
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QStringList ActionTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) texts << action->text();
  }
  return texts;
}

// Chooses "朗读" in the box's context menu.
void ReadAloudFromMenu(QAbstractScrollArea* box) {
  QMenu* menu = OpenContextMenu(box);
  QVERIFY(menu);
  QAction* readAloud = menu->actions().constLast();
  QCOMPARE(readAloud->text(), QStringLiteral("朗读"));
  readAloud->trigger();
  menu->close();
}

}  // namespace

class ReadAloudTest : public QObject {
  Q_OBJECT

 public:
  // The boxes that read aloud from their menus.
  // The source box, the pinyin box showing the source's pinyin, and the
  // pinyin box with pinyin typed by hand.
  enum class Box { kSource, kPinyinOfSource, kPinyin };
  Q_ENUM(Box)

 private slots:
  void init() {
    window_ = std::make_unique<QWidget>();
    source_ = new LongTextBox(window_.get());
    pinyin_ = new LongTextBox(window_.get());
    list_ = new QListWidget(window_.get());
    source_->setGeometry(0, 0, 400, 100);
    pinyin_->setGeometry(0, 100, 400, 100);
    list_->setGeometry(0, 200, 400, 100);
    spoken_.clear();
    // The pinyin box shows the source's pinyin, as in the main window.
    QObject::connect(source_, &LongTextBox::textChanged, pinyin_, [this] {
      pinyin_->setPlainText(QString::fromStdU16String(
          Converter()
              .Convert(Utf16View(source_->toPlainText()), DisplayMode::kReadingOnly)
              .pinyin));
    });
    readAloud_ = new ReadAloud(
        Converter(), *source_, *pinyin_, *list_, *window_,
        [this](const std::string& text) { spoken_ << QString::fromStdString(text); },
        [] { return DisplayMode::kReadingOnly; });
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void menusKeepTheirItemsAndEndWithReadAloud_data() {
    QTest::addColumn<Box>("box");
    QTest::newRow("source") << Box::kSource;
    QTest::newRow("pinyin") << Box::kPinyin;
  }
  void menusKeepTheirItemsAndEndWithReadAloud() {
    QFETCH(Box, box);
    QMenu* menu = OpenContextMenu(BoxWidget(box));
    QVERIFY(menu);
    const QStringList texts = ActionTexts(menu);
    QVERIFY2(texts.size() > 3, qPrintable(texts.join(' ')));
    QCOMPARE(texts.constLast(), QStringLiteral("朗读"));
    QCOMPARE(menu->actions().constLast()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    menu->close();
  }

  // 朗读 in a box's menu: the source box speaks the readings of its text, the
  // pinyin box the syllables it shows; each only its selection when there is
  // one.
  void eachBoxSpeaksWhatItHolds_data() {
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectFrom");  // -1: no selection
    QTest::addColumn<int>("selectTo");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("source: whole text") << Box::kSource << "重庆" << -1 << -1 << "chong2 qing4";
    QTest::newRow("source: rule reading without digit")
        << Box::kSource << "暖和" << -1 << -1 << "nuan3 huo5";
    QTest::newRow("source: ü as v") << Box::kSource << "女" << -1 << -1 << "nv3";
    QTest::newRow("source: selection only")
        << Box::kSource << "今天很暖和。" << 3 << 5 << "nuan3 huo5";
    QTest::newRow("source: selection made backwards")
        << Box::kSource << "今天很暖和。" << 5 << 3 << "nuan3 huo5";
    QTest::newRow("source: selection read in its context")
        << Box::kSource << "去重庆玩" << 1 << 2 << "chong2";
    QTest::newRow("source: a line end is a sentence pause")
        << Box::kSource << "中\n国人" << 0 << 3 << "zhong1.\nguo2";
    QTest::newRow("source: punctuation pauses, Latin in English")
        << Box::kSource << "abc，好！" << -1 << -1
        << R"(<voice name="en">abc, </voice><voice name="cmn-latn-pinyin">hao3.</voice>)";
    QTest::newRow("source: nothing to read") << Box::kSource << "※，" << -1 << -1 << "";
    // The pinyin box reads the characters its syllables stand for.
    QTest::newRow("pinyin of source: whole text")
        << Box::kPinyinOfSource << "今天很暖和。" << -1 << -1 << "jin1 tian1 hen3 nuan3 huo5.";
    QTest::newRow("pinyin of source: neutral tone kept")
        << Box::kPinyinOfSource << "妈妈" << 0 << 7 << "ma1 ma5";
    QTest::newRow("pinyin of source: part of a syllable")  // "nuǎn h" of "nuǎn huo "
        << Box::kPinyinOfSource << "很暖和" << 4 << 10 << "nuan3 huo5";
    QTest::newRow("pinyin of source: 一 as spoken")  // "yī gè"
        << Box::kPinyinOfSource << "一个" << 0 << 5 << "yi2 ge4";
    QTest::newRow("pinyin of source: only the space after a syllable")
        << Box::kPinyinOfSource << "一个" << 2 << 3 << "";
    QTest::newRow("pinyin of source: digits between syllables")  // "yǒu gè"
        << Box::kPinyinOfSource << "我有3个苹果" << 3 << 9 << "you3 san1 ge4";
    QTest::newRow("pinyin by hand: whole text")
        << Box::kPinyin << "chóng qìng " << -1 << -1 << "chong2 qing4";
    QTest::newRow("pinyin by hand: neutral tone")
        << Box::kPinyin << "nuǎn huo " << -1 << -1 << "nuan3 huo5";
    QTest::newRow("pinyin by hand: ü as v") << Box::kPinyin << "nǚ lǜ " << -1 << -1 << "nv3 lv4";
    QTest::newRow("pinyin by hand: selection only")
        << Box::kPinyin << "wǒ ài zhōng guó " << 5 << 15 << "zhong1 guo2";
  }
  void eachBoxSpeaksWhatItHolds() {
    QFETCH(Box, box);
    QFETCH(QString, text);
    QFETCH(int, selectFrom);
    QFETCH(int, selectTo);
    QFETCH(QString, spoken);
    LongTextBox* widget = BoxWidget(box);
    (box == Box::kPinyinOfSource ? source_ : widget)->setPlainText(text);
    if (selectFrom >= 0) {
      widget->setCursorPosition(selectFrom);
      widget->setCursorPosition(selectTo, true);
    }
    ReadAloudFromMenu(widget);
    QCOMPARE(spoken_, QStringList{spoken});
  }

  void doubleClickOnTheWordListSpeaksTheEntry() {
    list_->addItems({QStringLiteral("中国"), QStringLiteral("女")});
    QListWidgetItem* item = list_->item(1);
    const QPoint at = list_->visualItemRect(item).center();
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list_->currentRow(), 1);
    QCOMPARE(spoken_, QStringList{QStringLiteral("nv3")});
  }

  // The list shows a long entry shortened; reading it aloud reads all of it.
  void doubleClickOnALongEntrySpeaksTheWholeEntry() {
    AddListEntry(*list_, QStringLiteral("重庆").repeated(75));
    QListWidgetItem* item = list_->item(0);
    QVERIFY(IsShortened(*item));
    const QPoint at = list_->visualItemRect(item).center();
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, at);
    QStringList pairs;
    for (int i = 0; i < 75; ++i) pairs << QStringLiteral("chong2 qing4");
    QCOMPARE(spoken_, QStringList{pairs.join(' ')});
  }

  void shortcutSpeaksTheFocusedBoxElseThePinyinBox() {
    source_->setPlainText(QStringLiteral("重庆"));
    pinyin_->setPlainText(QStringLiteral("zhōng guó "));
    window_->activateWindow();
    source_->setFocus();
    QTest::keyClick(source_, Qt::Key_R, Qt::ControlModifier);
    list_->setFocus();
    QTest::keyClick(list_, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(spoken_, (QStringList{QStringLiteral("chong2 qing4"), QStringLiteral("zhong1 guo2")}));
    QCOMPARE(source_->toPlainText(), QStringLiteral("重庆"));  // the key typed nothing
  }

  // As the voice reaches each word, its character is marked in the source
  // box and its syllable in the pinyin box, apart from the selection; the
  // marks go when the voice ends or the text changes.
  void marksFollowTheVoiceWordByWord() {
    source_->setPlainText(QStringLiteral("一只小鸟飞"));
    ReadAloudFromMenu(source_);
    QCOMPARE(spoken_.size(), 1);
    const QString spoken = spoken_.front();
    const QStringList syllables = pinyin_->toPlainText().split(' ', Qt::SkipEmptyParts);
    QCOMPARE(syllables.size(), 5);
    int wordAt = 0;
    int syllableAt = 0;
    for (int k = 0; k < 5; ++k) {
      readAloud_->FollowWord(wordAt + (k % 2));  // any offset inside the word
      QApplication::processEvents();
      const auto sourceMark = MarkedColumns(source_);
      const auto pinyinMark = MarkedColumns(pinyin_);
      QVERIFY2(sourceMark && pinyinMark, qPrintable(QString::number(k)));
      QVERIFY(std::abs(sourceMark->first - CaretX(source_, k)) <= 2);
      QVERIFY(std::abs(sourceMark->second - CaretX(source_, k + 1)) <= 2);
      QVERIFY(std::abs(pinyinMark->first - CaretX(pinyin_, syllableAt)) <= 2);
      const int syllableEnd = syllableAt + static_cast<int>(syllables[k].size());
      QVERIFY(std::abs(pinyinMark->second - CaretX(pinyin_, syllableEnd)) <= 2);
      wordAt = static_cast<int>(spoken.indexOf(' ', wordAt)) + 1;
      syllableAt = syllableEnd + 1;
    }
    readAloud_->EndFollowing();
    QApplication::processEvents();
    QVERIFY(!MarkedColumns(source_) && !MarkedColumns(pinyin_));

    ReadAloudFromMenu(source_);
    readAloud_->FollowWord(0);
    QApplication::processEvents();
    QVERIFY(MarkedColumns(source_));
    source_->setPlainText(QStringLiteral("一只小鸟飞走了"));
    readAloud_->FollowWord(4);  // a late word of the old text marks nothing
    QApplication::processEvents();
    QVERIFY(!MarkedColumns(source_) && !MarkedColumns(pinyin_));
  }

  // The real voice: on the sound device when there is one, silent when there
  // is none or its data is missing (the second run, without voice data).
  void mainWindowKeepsReactingWhileItSpeaks() {
    MainWindow window;
    QVERIFY(window.Show());
    auto* text1 = Child<LongTextBox>(&window.form, QStringLiteral("Text1"));
    auto* text2 = Child<LongTextBox>(&window.form, QStringLiteral("Text2"));
    text1->setPlainText(QStringLiteral("床前明月光，疑是地上霜。举头望明月，低头思故乡。"));
    ReadAloudFromMenu(text2);
    ReadAloudFromMenu(text2);  // a new request stops the old one
    text1->setFocus();
    text1->setCursorPosition(static_cast<int>(text1->toPlainText().size()));
    QInputMethodEvent typed;  // as a pinyin input method commits a character
    typed.setCommitString(QStringLiteral("中"));
    QApplication::sendEvent(text1, &typed);
    QVERIFY(text2->toPlainText().endsWith(QStringLiteral("zhōng ")));
    window.form.close();
  }

 private:
  LongTextBox* BoxWidget(Box box) const { return box == Box::kSource ? source_ : pinyin_; }

  // The left and right ends of the follow mark's colour in a box, or none.
  static std::optional<std::pair<int, int>> MarkedColumns(LongTextBox* box) {
    const QImage image = box->viewport()->grab().toImage();
    std::optional<std::pair<int, int>> columns;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) != QColor(255, 226, 102)) continue;
        const int left = columns ? std::min(columns->first, x) : x;
        const int right = columns ? std::max(columns->second, x) : x;
        columns = {left, right};
      }
    }
    return columns;
  }

  // The x of the caret before a position of a box.
  static int CaretX(LongTextBox* box, int position) {
    box->setCursorPosition(position);
    return box->cursorRect().center().x();
  }

  std::unique_ptr<QWidget> window_;
  LongTextBox* source_ = nullptr;
  LongTextBox* pinyin_ = nullptr;
  QListWidget* list_ = nullptr;
  ReadAloud* readAloud_ = nullptr;
  QStringList spoken_;
};

QTEST_MAIN(ReadAloudTest)
#include "read_aloud_test.moc"
