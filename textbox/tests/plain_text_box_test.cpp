// The practice box's text edit takes a drop anywhere: Qt's own plain text
// edit crashes on some (it puts the caret in view before it lays out the
// paragraph that took the text).
#include "textbox/plain_text_box.h"

#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include "textbox/tests/text_box_test_support.h"

using kelvaro::PlainTextBox;

class PlainTextBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void takesADropAnywhere_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dropped");
    // Widths of a narrow box and of the practice box at its design size;
    // texts that Qt's own crashed on at those widths.
    const QString texts[] = {
        QStringLiteral("请把要练习的文字打进或者拷贝到这个文字框里，下面马上就会显示\nabc"),
        QStringLiteral(
            "春天来了，小河边的柳树长出了嫩绿的新芽，燕子从南方飞回来，在屋檐下重新筑起了"
            "小小的窝。小明和妹妹一起去公园放风筝，风筝飞得很高很高，好像要碰到天上的白云。"
            "\n妈妈说"),
        QStringLiteral("שלום עולם שלום עולם שלום עולם\nabc"),
    };
    const QString dropped[] = {QStringLiteral("x"), QStringLiteral("\n"),
                               QStringLiteral("abcdefghijklmnopqrstuvwxyz")};
    for (const int width : {60, 300, 577}) {
      for (const QString& text : texts) {
        for (const QString& drop : dropped) {
          QTest::newRow(qPrintable(QStringLiteral("%1 px, %2…, %3")
                                       .arg(width)
                                       .arg(text.left(4), drop.left(3).toHtmlEscaped())))
              << width << text << drop;
        }
      }
    }
  }
  void takesADropAnywhere() {
    QFETCH(int, width);
    QFETCH(QString, text);
    QFETCH(QString, dropped);
    PlainTextBox box;
    box.setFont(kelvaro::SerifCjkFont(24));
    box.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box.resize(width, 180);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    for (int at = 0; at <= text.size(); ++at) {
      box.setPlainText(text);
      QTextCursor place = box.textCursor();
      place.setPosition(at);
      const QPoint point = box.cursorRect(place).center();
      // Where a drop at that point goes, as the box finds it before the drop.
      const int target = box.cursorForPosition(point).position();
      QMimeData data;
      data.setText(dropped);
      QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(box.viewport(), &enter);
      QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(box.viewport(), &move);
      QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(box.viewport(), &drop);
      QCOMPARE(box.toPlainText(), QString(text).insert(target, dropped));
      QCOMPARE(box.textCursor().position(), target + dropped.size());
      // The caret is in view once the drop is done.
      QVERIFY2(box.viewport()->rect().intersects(box.cursorRect()),
               qPrintable(QString::number(at)));
    }
  }
};

QTEST_MAIN(PlainTextBoxTest)
#include "plain_text_box_test.moc"
