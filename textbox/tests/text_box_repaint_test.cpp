// The text box keeps pictures of the lines it shows and redraws unchanged
// lines from them. After every kind of change the box must look exactly as a
// new box set up in the final state looks, so that no stale picture shows.
// (The text area is compared: the scroll bar's length is an estimate that
// grows better as lines are looked at.)
#include <QPalette>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>

#include "textbox/long_text_box.h"
#include "textbox/tests/text_box_test_support.h"

using kelvaro::LongTextBox;

namespace {

using Change = std::function<void(LongTextBox&)>;

const QString kText = QStringLiteral(
    "zhōng guó rén mín hěn xǐ huan chī mǐ fàn yě xǐ huan chī miàn tiáo "
    "lǜ sè de shù yè zài fēng lǐ yáo dòng xiǎo péng yǒu zài cǎo dì shàng pǎo bù "
    "tiān shàng yǒu bái yún dì shàng yǒu xiǎo huā hé biān yǒu xiǎo yú yóu lái yóu qù");

// A box that takes no focus, so that no caret blinks in the pictures.
std::unique_ptr<LongTextBox> UnfocusedBox() {
  auto box = std::make_unique<LongTextBox>();
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

std::unique_ptr<LongTextBox> ShownBox() {
  auto box = UnfocusedBox();
  box->setFont(kelvaro::SerifCjkFont(24));
  box->resize(420, 140);
  box->setPlainText(kText);
  box->show();
  return box;
}

void TypeAtStart(LongTextBox& box) {
  box.setCursorPosition(0);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("wǒ "));
  QApplication::sendEvent(&box, &commit);
}

void SelectInFirstLine(LongTextBox& box) {
  box.setCursorPosition(6);
  box.setCursorPosition(10, true);
}

void SetBaseColour(LongTextBox& box) {
  QPalette palette = box.palette();
  palette.setColor(QPalette::Base, QColor(255, 255, 204));
  palette.setColor(QPalette::Text, QColor(0, 0, 160));
  box.setPalette(palette);
}

}  // namespace

class TextBoxRepaintTest : public QObject {
  Q_OBJECT

 private slots:
  void looksLikeANewBoxAfterEachChange_data() {
    QTest::addColumn<Change>("change");
    QTest::newRow("typing in the first line") << Change(TypeAtStart);
    QTest::newRow("new text with the same first line") << Change([](LongTextBox& box) {
      box.setPlainText(kText.left(40) + QStringLiteral(" yī èr sān sì wǔ liù qī bā jiǔ shí"));
    });
    QTest::newRow("the second line moved to the top") << Change([](LongTextBox& box) {
      box.setPlainText(kText.mid(kText.indexOf(QStringLiteral("chī mǐ"))));
    });
    QTest::newRow("a selection") << Change(SelectInFirstLine);
    QTest::newRow("the selection dropped") << Change([](LongTextBox& box) {
      SelectInFirstLine(box);
      QTest::qWait(0);
      box.grab();
      box.setCursorPosition(3);
    });
    QTest::newRow("colours") << Change(SetBaseColour);
    QTest::newRow("font") << Change([](LongTextBox& box) {
      QFont sans(QStringLiteral("Noto Sans CJK SC"));
      sans.setPointSize(24);
      box.setFont(sans);
    });
    QTest::newRow("narrower") << Change([](LongTextBox& box) { box.resize(300, 140); });
    // Heights at which the lines stand at other distances.
    QTest::newRow("lower") << Change([](LongTextBox& box) { box.resize(420, 120); });
    QTest::newRow("taller") << Change([](LongTextBox& box) { box.resize(420, 190); });
    QTest::newRow("disabled") << Change([](LongTextBox& box) { box.setEnabled(false); });
    QTest::newRow("scrolled") << Change([](LongTextBox& box) {
      box.verticalScrollBar()->setValue(box.verticalScrollBar()->singleStep());
    });
  }
  void looksLikeANewBoxAfterEachChange() {
    QFETCH(Change, change);
    const auto changed = ShownBox();
    QVERIFY(QTest::qWaitForWindowExposed(changed.get()));
    changed->grab();  // the lines' pictures are made
    change(*changed);
    const QImage after = changed->viewport()->grab().toImage();

    // A new box brought to the same state without painting before it.
    const auto fresh = UnfocusedBox();
    fresh->setFont(changed->font());
    fresh->setPalette(changed->palette());
    fresh->setEnabled(changed->isEnabled());
    fresh->resize(changed->size());
    fresh->setPlainText(changed->toPlainText());
    fresh->setCursorPosition(changed->anchorPosition());
    fresh->setCursorPosition(changed->cursorPosition(), true);
    fresh->show();
    QVERIFY(QTest::qWaitForWindowExposed(fresh.get()));
    fresh->verticalScrollBar()->setValue(changed->verticalScrollBar()->value());
    QCOMPARE(after, fresh->viewport()->grab().toImage());
  }
};

QTEST_MAIN(TextBoxRepaintTest)
#include "text_box_repaint_test.moc"
