// Lines without break opportunities and long clusters, offscreen, shown
// windows; one case per run, so that each starts from a fresh process:
//   box      1,000,000 letters "a" pasted into a text box on its own, 100 keys
//            typed at its start, then everything selected and deleted: the
//            resident memory (VmRSS) at each point and the median time of a key
//   window   the same in the source box of the main window, which converts
//            at every key
//   cluster  Right and Left over a letter carrying 200,000 combining marks
//   list     a word-list entry of 10,000,000 letters between two short ones:
//            Down onto it and on while keys wait (it is passed by), Down onto
//            it until it is in the source box and painted, Down off it
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/form1.h"
#include "process_memory.h"
#include "textbox/long_text_box.h"
#include "wordlist/word_list_file.h"
#include "wordlist/word_list_location.h"

namespace {

constexpr int kLineLength = 1'000'000;
constexpr int kKeys = 100;
constexpr int kMarks = 200'000;
constexpr int kEntryLength = 10'000'000;

double Resident() { return kelvaro::bench::ProcessMemoryMiB("VmRSS"); }
double Peak() { return kelvaro::bench::ProcessMemoryMiB("VmHWM"); }

// The time of `step` and a paint of `shown`, `count` times (ms, sorted).
std::vector<double> Times(int count, QWidget& shown, const std::function<void(int)>& step) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    QElapsedTimer timer;
    timer.start();
    step(i);
    shown.repaint();
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times;
}

double Median(const std::vector<double>& times) { return times[times.size() / 2]; }

// Pastes the long line into the box, types at its start and deletes it all;
// `shown` is what is painted after each step.
void TypeIntoLongLine(kelvaro::LongTextBox& box, QWidget& shown) {
  box.setFocus();
  QCoreApplication::processEvents();
  const double start = Resident();
  QApplication::clipboard()->setText(QString(kLineLength, u'a'));
  const double paste = Median(Times(1, shown, [&](int) {
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
  }));
  QApplication::clipboard()->clear();
  const double pasted = Resident();
  const auto keys =
      Times(kKeys, shown, [&](int i) { QTest::keyClick(&box, static_cast<char>('b' + i % 20)); });
  const double typed = Resident();
  const double erase = Median(Times(1, shown, [&](int) {
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete);
  }));
  const double deleted = Resident();
  if (box.toPlainText().size() != 0) std::fprintf(stderr, "text left after deleting\n");
  std::printf("VmRSS MiB: start %.1f  pasted %.1f  after %d keys %.1f  deleted %.1f\n", start,
              pasted, kKeys, typed, deleted);
  std::printf("from start MiB: after keys %+.1f  deleted %+.1f\n", typed - start, deleted - start);
  std::printf("ms: paste %.1f  key median %.2f (slowest %.2f)  delete all %.1f\n", paste,
              Median(keys), keys.back(), erase);
}

int Box() {
  kelvaro::LongTextBox box;
  box.resize(577, 300);
  box.show();
  if (!QTest::qWaitForWindowExposed(&box)) return 1;
  TypeIntoLongLine(box, box);
  return 0;
}

int Window() {
  kelvaro::Form1 form(kelvaro::ExecutableDirectory());
  form.resize(1280, 900);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  auto* text1 = form.findChild<kelvaro::LongTextBox*>(QStringLiteral("Text1"));
  text1->setPlainText(QString());
  TypeIntoLongLine(*text1, form);
  return 0;
}

int Cluster() {
  kelvaro::LongTextBox box;
  box.resize(577, 300);
  box.show();
  if (!QTest::qWaitForWindowExposed(&box)) return 1;
  const QString text =
      QStringLiteral("ab e") + QString(kMarks, QChar(0x0301)) + QStringLiteral(" cd");
  const int before = 3;                                 // before the letter
  const int after = static_cast<int>(text.size()) - 3;  // after its marks
  const double start = Resident();
  box.setPlainText(text);
  box.setFocus();
  box.repaint();
  const auto over = [&](Qt::Key key, int from, int to) {
    return Times(7, box, [&, key, from, to](int) {
      box.setCursorPosition(from);
      QTest::keyClick(&box, key);
      if (box.cursorPosition() != to) std::fprintf(stderr, "the key did not cross the cluster\n");
    });
  };
  const auto right = over(Qt::Key_Right, before, after);
  const auto left = over(Qt::Key_Left, after, before);
  std::printf("ms: Right over it median %.2f (slowest %.2f)  Left median %.2f (slowest %.2f)\n",
              Median(right), right.back(), Median(left), left.back());
  std::printf("VmRSS MiB: from start %+.1f  peak %.1f\n", Resident() - start, Peak());
  return 0;
}

int List() {
  QTemporaryDir dir;
  {
    // 中国, 10,000,000 letters "a", 女, in GBK.
    const std::u8string_view name = kelvaro::kWordListFileName;
    QFile file(dir.filePath(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write("\xD6\xD0\xB9\xFA\r\n" + QByteArray(kEntryLength, 'a') + "\r\n\xC5\xAE\r\n");
  }
  kelvaro::Form1 form(QFile::encodeName(dir.path()).toStdString());
  form.resize(1280, 900);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
  auto* text1 = form.findChild<kelvaro::LongTextBox*>(QStringLiteral("Text1"));
  list->setFocus();
  const auto toFirst = [&] {
    list->setCurrentRow(0);
    while (text1->toPlainText().size() != 2) QCoreApplication::processEvents();
  };
  const auto down = [&] {
    QCoreApplication::postEvent(list, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, {}));
  };
  toFirst();
  form.repaint();
  const double start = Resident();
  // Two keys waiting: the long entry is passed by.
  const auto passBy = Times(5, form, [&](int) {
    toFirst();
    down();
    down();
    while (list->currentRow() != 2 || text1->toPlainText().size() != 1)
      QCoreApplication::processEvents();
  });
  const double passed = Resident();
  std::vector<double> choose;
  std::vector<double> leave;
  for (int i = 0; i < 5; ++i) {
    toFirst();
    form.repaint();
    choose.push_back(Median(Times(1, form, [&](int) {
      down();
      while (text1->toPlainText().size() != kEntryLength) QCoreApplication::processEvents();
    })));
    leave.push_back(Median(Times(1, form, [&](int) {
      down();
      while (text1->toPlainText().size() != 1) QCoreApplication::processEvents();
    })));
  }
  std::sort(choose.begin(), choose.end());
  std::sort(leave.begin(), leave.end());
  std::printf("ms: pass it by median %.1f  choose it median %.1f  leave it median %.1f\n",
              Median(passBy), Median(choose), Median(leave));
  std::printf("VmRSS MiB: start %.1f  after passing by %.1f  after choosing %.1f  peak %.1f\n",
              start, passed, Resident(), Peak());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (mode == u"box") return Box();
  if (mode == u"window") return Window();
  if (mode == u"cluster") return Cluster();
  if (mode == u"list") return List();
  std::fprintf(stderr, "usage: long_line_bench box|window|cluster|list\n");
  return 2;
}
