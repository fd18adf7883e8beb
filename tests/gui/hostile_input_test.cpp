// Hostile files beside the program and hostile use of the windows: the
// program keeps working, and nothing is lost or written.
#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/form1.h"
#include "gui_test_support.h"
#include "textbox/long_text_box.h"
#include "wordlist/word_list_file.h"

using namespace kelvaro;

namespace {

QByteArray FileHash(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

}  // namespace

class HostileInputTest : public QObject {
  Q_OBJECT

 private slots:
  void hostileWordListFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("entries");
    QByteArray junk(65536, '\0');
    std::mt19937 random(7);
    for (char& c : junk) c = static_cast<char>(random());
    // mt19937's sequence is the same everywhere; these bytes hold no CR LF, so
    // no line ends: no entry.
    QTest::newRow("binary junk") << junk << 0;
    QTest::newRow("invalid GBK") << QByteArray("\xFF\x80\xFE\r\n\x81") << 1;
    QTest::newRow("UTF-8 with a BOM")
        << QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD\xE5\x9B\xBD\r\n") << 1;
    QTest::newRow("LF only") << QByteArray("a\nb\n") << 2;
    QTest::newRow("50 MB") << QByteArray("\xC3\xA8\r\n").repeated(50 * 1024 * 1024 / 4)
                           << static_cast<int>(kWordListCapacity);
    QTest::newRow("one line of 1 MB") << (QByteArray("a").repeated(1024 * 1024) + "\r\n") << 1;
  }
  void hostileWordListFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, entries);
    ProgramDirectory dir(&bytes);
    const QByteArray before = FileHash(dir.wordListPath());
    {
      Form1 form(dir.path());
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      QCOMPARE(Child<QListWidget>(&form, "List1")->count(), entries);
      QVERIFY(!Child<LongTextBox>(&form, "Text5")->toPlainText().isEmpty());
    }
    QCOMPARE(FileHash(dir.wordListPath()), before);
  }

  // 中文 in GBK bytes, as unzip leaves a folder made on a Chinese Windows
  // system; the word-list file under its UTF-8 name and under its GBK name.
  void aProgramFolderWhoseNameIsNotUtf8_data() {
    QTest::addColumn<QByteArray>("fileName");
    QTest::newRow("UTF-8 file name") << WordListFileName().toUtf8();
    QTest::newRow("GBK file name")
        << QByteArray("\xD0\xA1\xBA\xA2\xD7\xD3\xB8\xD0\xD0\xCB\xC8\xA4\xB5\xC4\xB4\xCA.txt");
  }
  void aProgramFolderWhoseNameIsNotUtf8() {
    QFETCH(QByteArray, fileName);
    const std::string folder = "\xD6\xD0\xCE\xC4";
    ProgramDirectory dir(nullptr);
    const std::filesystem::path program = dir.path() / folder;
    std::filesystem::create_directory(program);
    std::ofstream(program / fileName.toStdString(), std::ios::binary)
        << "\xD6\xD0\xB9\xFA\r\n\xC3\xA8\r\n";
    Form1 form(program);
    auto* list = Child<QListWidget>(&form, "List1");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QStringLiteral("猫"));
  }

  void aDirectoryWithTheFileNameGivesAnEmptyList() {
    ProgramDirectory dir(nullptr);
    QVERIFY(QDir().mkdir(dir.wordListPath()));
    Form1 form(dir.path());
    QCOMPARE(Child<QListWidget>(&form, "List1")->count(), 0);
  }

  void aFileWithoutReadPermission() {
    const QByteArray bytes("\xD6\xD0\xB9\xFA\r\n");
    ProgramDirectory dir(&bytes);
    QFile file(dir.wordListPath());
    QVERIFY(file.setPermissions(QFileDevice::Permissions()));
    // Root reads it all the same; anyone else starts with an empty list.
    const bool readable = file.open(QIODevice::ReadOnly);
    file.close();
    {
      Form1 form(dir.path());
      QCOMPARE(Child<QListWidget>(&form, "List1")->count(), readable ? 1 : 0);
    }
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(FileHash(dir.wordListPath()),
             QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
  }

  void aMillionCharacterEntryChosenAgainAndAgain() {
    // 中国, then 猫 a million times, then 女.
    const QByteArray bytes =
        "\xD6\xD0\xB9\xFA\r\n" + QByteArray("\xC3\xA8").repeated(1'000'000) + "\r\n\xC5\xAE\r\n";
    MainWindow window(&bytes);
    QVERIFY(window.Show());
    auto* list = Child<QListWidget>(&window.form, "List1");
    auto* text1 = Child<LongTextBox>(&window.form, "Text1");
    QCOMPARE(list->count(), 3);
    // Shown shortened, so that the list paints at once.
    QVERIFY(list->item(1)->text().size() < 1000);
    QVERIFY(list->item(1)->text().startsWith(QStringLiteral("猫猫猫")));
    QVERIFY(list->item(1)->text().endsWith(QChar(0x2026)));
    const QString whole(1'000'000, QChar(0x732B));
    for (int round = 0; round < 3; ++round) {
      list->setCurrentRow(0);
      QCOMPARE(text1->toPlainText(), QStringLiteral("中国"));
      list->setCurrentRow(1);
      // The whole entry goes into the source box.
      QTRY_COMPARE(text1->toPlainText().size(), whole.size());
      QCOMPARE(text1->toPlainText(), whole);
      QCOMPARE(LitMarkers(&window.form), (QList<int>{8, 10, 25}));  // O, A, M
      list->setCurrentRow(2);
      QCOMPARE(text1->toPlainText(), QStringLiteral("女"));
    }
  }

  void keysHeldOverLongEntriesPassThemBy() {
    // 猫 and 女 between entries of 200,000 characters.
    const QByteArray longEntry = QByteArray("\xD6\xD0").repeated(200'000) + "\r\n";
    const QByteArray bytes = "\xC3\xA8\r\n" + longEntry + "\xC5\xAE\r\n" + longEntry;
    MainWindow window(&bytes);
    QVERIFY(window.Show());
    auto* list = Child<QListWidget>(&window.form, "List1");
    auto* text1 = Child<LongTextBox>(&window.form, "Text1");
    list->setCurrentRow(0);
    int longEntriesShown = 0;
    connect(text1, &LongTextBox::textChanged, this,
            [&] { longEntriesShown += text1->toPlainText().size() > 1000; });
    // Arrow keys that wait in the queue, as when a key is held down: down to
    // the end and back, ten times. Only where they stop counts.
    for (int pass = 0; pass < 10; ++pass) {
      for (const auto key : {Qt::Key_Down, Qt::Key_Up}) {
        for (int step = 0; step < 3; ++step) {
          QCoreApplication::postEvent(list, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        }
      }
    }
    // Every key handled: a call queued after them has run. A long entry that
    // a key chose on the way would go in at the next turn of the event loop,
    // before a zero-time timer started after that.
    bool keysHandled = false;
    QMetaObject::invokeMethod(
        this, [&] { keysHandled = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(keysHandled);
    bool nextTurn = false;
    QTimer::singleShot(0, this, [&] { nextTurn = true; });
    QTRY_VERIFY(nextTurn);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(text1->toPlainText(), QStringLiteral("猫"));
    QCOMPARE(longEntriesShown, 0);
    // A key that stops on a long entry puts it in.
    QCoreApplication::postEvent(list,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    QTRY_COMPARE(text1->toPlainText().size(), 200'000);
    QCOMPARE(longEntriesShown, 1);
  }

  void pastingAMillionCharacters() {
    MainWindow window;
    QVERIFY(window.Show());
    auto* text1 = Child<LongTextBox>(&window.form, "Text1");
    const QString chunk = QStringLiteral("小朋友们在公园里快乐地做游戏，大家一起长大。\n");
    QString huge;
    while (huge.size() < 1'000'000) huge += chunk;
    huge.truncate(1'000'000);
    QApplication::clipboard()->setText(huge);
    text1->selectAll();
    text1->paste();
    QCOMPARE(text1->toPlainText().size(), 1'000'000);
    const QString hints = Child<LongTextBox>(&window.form, "Text5")->toPlainText();
    QVERIFY(hints.startsWith(QStringLiteral("XIAO PENG YOU MEN ZAI ")));
    const QString pinyin = Child<LongTextBox>(&window.form, "Text2")->toPlainText();
    QVERIFY(pinyin.startsWith(QStringLiteral("xiǎo péng yǒu")));
    QVERIFY(!pinyin.contains(QLatin1Char('\n')));
  }

  void resizingThroughEverySize() {
    MainWindow window;
    QVERIFY(window.Show());
    Form1& form = window.form;
    form.resize(1000, 700);
    const auto layout = [&] {
      QList<QRect> rects;
      for (const char* name : {"Text1", "Text2", "Text5", "Text4", "List1", "Image3", "Image2(0)",
                               "Label3", "Command5"}) {
        rects << Child<QWidget>(&form, name)->geometry();
      }
      return rects;
    };
    const QList<QRect> before = layout();
    // Every width from 1 to 4000 and every height from 1 to 3000.
    const auto check = [&](QSize size) {
      form.resize(size);
      for (const QRect& rect : layout()) {
        QVERIFY2(rect.width() >= 0 && rect.height() >= 0,
                 qPrintable(QStringLiteral("at %1 x %2").arg(size.width()).arg(size.height())));
      }
    };
    for (int width = 1; width <= 4000; ++width) check(QSize(width, 1 + (width * 3) % 3000));
    for (int height = 1; height <= 3000; ++height) check(QSize(1 + (height * 4) % 4000, height));
    form.resize(1000, 700);
    QCOMPARE(layout(), before);
    form.showMinimized();
    form.showNormal();
    form.resize(1000, 700);
    QCOMPARE(layout(), before);
  }

  void randomHelpWindowUse() {
    MainWindow window;
    QVERIFY(window.Show());
    Form1& form1 = window.form;
    QWidget* form2 = TopLevel(QStringLiteral("Form2"));
    auto* timer = Child<QTimer>(form2, "Timer1");
    std::mt19937 random(2024);
    bool timerWasStopped = false;
    for (int step = 0; step < 600; ++step) {
      switch (random() % 6) {
        case 0:
          if (form1.isVisible()) Click(Child<QPushButton>(&form1, "Command5"));
          break;
        case 1:
          if (form2->isVisible()) Click(Child<QWidget>(form2, "Image1"));
          break;
        case 2:
          if (form2->isVisible())
            Click(Child<QWidget>(form2, random() % 2 ? "lblTitle" : "lblDescription"));
          break;
        case 3:
          if (timer->isActive()) QMetaObject::invokeMethod(form2, "Timer1_Timer");
          break;
        case 4:
          form2->close();
          break;
        case 5:
          if (form2->isVisible()) Click(Child<QWidget>(form2, "Label2"));
          break;
      }
      QCOMPARE(CountTopLevels(QStringLiteral("Form2")), 1);
      QVERIFY(form1.isVisible() || form2->isVisible());
      if (timerWasStopped) QVERIFY(!timer->isActive());  // it runs once per program run
      if (!timer->isActive() && form2->isVisible()) timerWasStopped = true;
    }
  }

  void choosingEntriesWhileTyping() {
    const QByteArray words(
        "\xD6\xD0\xB9\xFA\r\n\xC5\xAE\r\n\xCB\xAD\r\nabc\r\n\xC2\xE8\xC2\xE8\r\n");
    // The keys that each entry lights: Z H O N G U, N V, S H U I, none, M A.
    const QList<int> litByRow[] = {{6, 8, 14, 15, 19, 24}, {22, 24}, {6, 7, 11, 15}, {}, {10, 25}};
    MainWindow window(&words);
    QVERIFY(window.Show());
    auto* list = Child<QListWidget>(&window.form, "List1");
    auto* text1 = Child<LongTextBox>(&window.form, "Text1");
    std::mt19937 random(99);
    QList<int> lit;
    for (int step = 0; step < 300; ++step) {
      if (random() % 2) {
        const int row = static_cast<int>(random() % static_cast<unsigned>(list->count()));
        // Only a change of the selection runs the guide.
        if (row != list->currentRow()) {
          list->setCurrentRow(row);
          QCOMPARE(text1->toPlainText(), list->item(row)->text());
          lit = litByRow[row];
        }
      } else {
        QInputMethodEvent event;
        event.setCommitString(random() % 2 ? QStringLiteral("长大") : QStringLiteral("b"));
        QApplication::sendEvent(text1, &event);
      }
      QCOMPARE(LitMarkers(&window.form), lit);
    }
  }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
