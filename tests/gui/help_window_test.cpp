// The help window's states: shown by the help button, sent back by its timer
// or by a click on its picture, title or description.
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/form1.h"
#include "gui_test_support.h"

using namespace kelvaro;

class HelpWindowTest : public MainWindowTest {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(OpenMainWindow());
    form2_ = TopLevel(QStringLiteral("Form2"));
    QVERIFY(form2_);
    timer_ = Child<QTimer>(form2_, QStringLiteral("Timer1"));
    QVERIFY(timer_);
  }
  void cleanup() { CloseMainWindow(); }

  void theHelpWindowIsCreatedHiddenWithItsControls() {
    QCOMPARE(CountTopLevels(QStringLiteral("Form2")), 1);
    QVERIFY(!form2_->isVisible());
    QVERIFY(!timer_->isActive());
    QCOMPARE(timer_->interval(), 8000);
    QVERIFY(form2_->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY((form2_->windowFlags() & Qt::WindowType_Mask) == Qt::Tool);
    QCOMPARE(form2_->size(), QSize(513, 504));
    QCOMPARE(form2_->palette().color(QPalette::Window), QColor(255, 255, 192));
    auto* title = Child<QLabel>(form2_, "lblTitle");
    QCOMPARE(title->text(), QStringLiteral("Kelvaro2.0版"));
    QCOMPARE(title->geometry(), QRect(8, 16, 491, 32));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(title->font().families().value(0), QStringLiteral("黑体"));
    QCOMPARE(title->font().pointSizeF(), 24.0);
    auto* description = Child<QLabel>(form2_, "lblDescription");
    QVERIFY(description->text().startsWith(QStringLiteral("    本软件可以给出任意汉字的拼音，")));
    QVERIFY(description->text().endsWith(
        QStringLiteral("也适合老年人和普通话不标准的人学习拼音打字。")));
    QVERIFY(description->wordWrap());
    QCOMPARE(description->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(description->font().pointSizeF(), 10.5);
    QCOMPARE(Child<QLabel>(form2_, "Image1")->geometry(), QRect(8, 160, 500, 335));
    QCOMPARE(Child<QLabel>(form2_, "Label3")->palette().color(QPalette::WindowText),
             QColor(255, 0, 0));
  }

  void helpThenTimerThenHelpAgain() {
    PressHelp();
    QVERIFY(!form1()->isVisible());
    QVERIFY(form2_->isVisible());
    QVERIFY(timer_->isActive());
    QVERIFY(QMetaObject::invokeMethod(form2_, "Timer1_Timer"));
    QVERIFY(form1()->isVisible());
    QVERIFY(form2_->isVisible());  // stays open behind the main window
    QVERIFY(!timer_->isActive());
    PressHelp();
    QVERIFY(!form1()->isVisible());
    QVERIFY(form2_->isVisible());
    QVERIFY(!timer_->isActive());  // a second display starts no timer
  }

  // A click on the picture, the title or the description brings the main
  // window back, on the first display and on a later one, which starts no
  // timer; a click elsewhere, and Escape, change nothing and the timer goes
  // on counting.
  void clicksOnTheHelpWindow_data() {
    QTest::addColumn<QString>("control");  // empty: the window's background
    QTest::addColumn<bool>("bringsBack");
    QTest::newRow("picture") << "Image1" << true;
    QTest::newRow("title") << "lblTitle" << true;
    QTest::newRow("description") << "lblDescription" << true;
    QTest::newRow("background") << "" << false;
    QTest::newRow("maker") << "lblVersion" << false;
    QTest::newRow("help") << "Label2" << false;
    QTest::newRow("licence") << "Label3" << false;
  }
  void clicksOnTheHelpWindow() {
    QFETCH(QString, control);
    QFETCH(bool, bringsBack);
    PressHelp();
    ClickHelpWindow(control);
    if (!bringsBack) QTest::keyClick(form2_, Qt::Key_Escape);
    QCOMPARE(form1()->isVisible(), bringsBack);
    QCOMPARE(timer_->isActive(), !bringsBack);
    if (bringsBack) {
      PressHelp();
      ClickHelpWindow(control);
      QVERIFY(form1()->isVisible());
    }
  }

  // The timer ticks 8000 ms after the help window first shows, never before.
  // A coarse timer would tick early here: it is started 250 ms into a second
  // of the monotonic clock, and a coarse 8-second timer rounds its expiry to
  // a whole second, down when it lies in the first half.
  void theRealTimerBringsTheMainWindowBackOnceAfterEightSeconds() {
    const qint64 millisecond = QDeadlineTimer::current().deadline() % 1000;
    QTest::qSleep(static_cast<int>((1250 - millisecond) % 1000));
    QElapsedTimer sinceHelp;
    qint64 tickedAfter = -1;
    connect(timer_, &QTimer::timeout, this, [&] { tickedAfter = sinceHelp.elapsed(); });
    sinceHelp.start();
    PressHelp();
    QTRY_VERIFY_WITH_TIMEOUT(form1()->isVisible(), 9500);
    QVERIFY2(tickedAfter >= 8000, qPrintable(QString::number(tickedAfter)));
    QVERIFY(!timer_->isActive());
    QVERIFY(form2_->isVisible());
  }

  void closingTheHelpWindowWhileAloneShowsTheMainWindow() {
    PressHelp();
    form2_->close();
    QVERIFY(form1()->isVisible());
    QCOMPARE(CountTopLevels(QStringLiteral("Form2")), 1);
    PressHelp();  // the same window comes back
    QVERIFY(form2_->isVisible());
  }

  void closingTheMainWindowDestroysTheHelpWindow() {
    PressHelp();
    QVERIFY(QMetaObject::invokeMethod(form2_, "Image1_Click"));
    QPointer<QWidget> help(form2_);
    QVERIFY(form1()->close());
    QVERIFY(help.isNull());
    QCOMPARE(CountTopLevels(QStringLiteral("Form2")), 0);
  }

 private:
  // Clicks the help window's control with that name, or its background at a
  // point where no control lies.
  void ClickHelpWindow(const QString& control) {
    if (control.isEmpty()) {
      QTest::mouseClick(form2_, Qt::LeftButton, {}, QPoint(500, 5));
    } else {
      Click(Child<QWidget>(form2_, control));
    }
  }
  void PressHelp() {
    auto* button = Child<QPushButton>(form1(), "Command5");
    QVERIFY(button);
    if (button->isVisible()) {
      Click(button);
    } else {
      QMetaObject::invokeMethod(form1(), "Command5_Click");
    }
  }

  QWidget* form2_ = nullptr;
  QTimer* timer_ = nullptr;
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
