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

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<ProgramDirectory>(nullptr);
    form1_ = std::make_unique<Form1>(dir_->path());
    form1_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form1_.get()));
    form2_ = TopLevel(QStringLiteral("Form2"));
    QVERIFY(form2_);
    timer_ = Child<QTimer>(form2_, QStringLiteral("Timer1"));
    QVERIFY(timer_);
  }
  void cleanup() {
    form1_.reset();
    dir_.reset();
  }

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
    QVERIFY(!form1_->isVisible());
    QVERIFY(form2_->isVisible());
    QVERIFY(timer_->isActive());
    QVERIFY(QMetaObject::invokeMethod(form2_, "Timer1_Timer"));
    QVERIFY(form1_->isVisible());
    QVERIFY(form2_->isVisible());  // stays open behind the main window
    QVERIFY(!timer_->isActive());
    PressHelp();
    QVERIFY(!form1_->isVisible());
    QVERIFY(form2_->isVisible());
    QVERIFY(!timer_->isActive());  // a second display starts no timer
  }

  void clicksThatBringTheMainWindowBack_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("picture") << "Image1";
    QTest::newRow("title") << "lblTitle";
    QTest::newRow("description") << "lblDescription";
  }
  void clicksThatBringTheMainWindowBack() {
    QFETCH(QString, control);
    PressHelp();
    Click(Child<QWidget>(form2_, control));
    QVERIFY(form1_->isVisible());
    QVERIFY(!timer_->isActive());
    PressHelp();
    Click(Child<QWidget>(form2_, control));
    QVERIFY(form1_->isVisible());
  }

  void clicksThatDoNothing_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("background") << "";
    QTest::newRow("maker") << "lblVersion";
    QTest::newRow("help") << "Label2";
    QTest::newRow("licence") << "Label3";
  }
  void clicksThatDoNothing() {
    QFETCH(QString, control);
    PressHelp();
    QWidget* target = control.isEmpty() ? form2_ : Child<QWidget>(form2_, control);
    if (control.isEmpty()) {
      QTest::mouseClick(form2_, Qt::LeftButton, {}, QPoint(500, 5));
    } else {
      Click(target);
    }
    QTest::keyClick(form2_, Qt::Key_Escape);
    QVERIFY(!form1_->isVisible());
    QVERIFY(timer_->isActive());  // goes on counting
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
    QTRY_VERIFY_WITH_TIMEOUT(form1_->isVisible(), 9500);
    QVERIFY2(tickedAfter >= 8000, qPrintable(QString::number(tickedAfter)));
    QVERIFY(!timer_->isActive());
    QVERIFY(form2_->isVisible());
  }

  void closingTheHelpWindowWhileAloneShowsTheMainWindow() {
    PressHelp();
    form2_->close();
    QVERIFY(form1_->isVisible());
    QCOMPARE(CountTopLevels(QStringLiteral("Form2")), 1);
    PressHelp();  // the same window comes back
    QVERIFY(form2_->isVisible());
  }

  void closingTheMainWindowDestroysTheHelpWindow() {
    PressHelp();
    QVERIFY(QMetaObject::invokeMethod(form2_, "Image1_Click"));
    QPointer<QWidget> help(form2_);
    QVERIFY(form1_->close());
    QVERIFY(help.isNull());
    QCOMPARE(CountTopLevels(QStringLiteral("Form2")), 0);
  }

 private:
  void PressHelp() {
    auto* button = Child<QPushButton>(form1_.get(), "Command5");
    QVERIFY(button);
    if (button->isVisible()) {
      Click(button);
    } else {
      QMetaObject::invokeMethod(form1_.get(), "Command5_Click");
    }
  }

  std::unique_ptr<ProgramDirectory> dir_;
  std::unique_ptr<Form1> form1_;
  QWidget* form2_ = nullptr;
  QTimer* timer_ = nullptr;
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
