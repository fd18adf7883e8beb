// One keystroke into the source box holding a long text, an input method's
// commit or Backspace, timed from the key event until the pinyin and hint
// boxes hold the new texts and have painted.
// Offscreen, shown window; prints medians per source, size and position, for
// a source with line breaks and for one single paragraph without any.
#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/form1.h"
#include "process_memory.h"
#include "sample_text.h"
#include "textbox/long_text_box.h"
#include "wordlist/word_list_location.h"

namespace {

QString Source(int length, bool oneParagraph) {
  const auto sample = kelvaro::bench::SampleOfLength(static_cast<std::size_t>(length) * 2);
  QString text = QString::fromStdU16String(sample);
  if (oneParagraph) text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  return text.left(length);
}

enum class Key { kTyping, kBackspace };

// The median time of one key at the end or in the middle of the source: an
// input method's commit of 重, or Backspace.
double MedianKeystrokeMs(QWidget& form, const QString& source, bool atEnd, Key key) {
  auto* text1 = form.findChild<kelvaro::LongTextBox*>(QStringLiteral("Text1"));
  auto* text2 = form.findChild<kelvaro::LongTextBox*>(QStringLiteral("Text2"));
  auto* text5 = form.findChild<kelvaro::LongTextBox*>(QStringLiteral("Text5"));
  text1->setPlainText(source);
  QCoreApplication::processEvents();
  std::vector<double> times;
  for (int i = 0; i < 15; ++i) {
    text1->setCursorPosition(atEnd ? static_cast<int>(text1->toPlainText().size())
                                   : static_cast<int>(source.size()) / 2);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("重"));
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    const auto sourceSize = text1->toPlainText().size();
    const QString before = text5->toPlainText();
    QElapsedTimer timer;
    timer.start();
    if (key == Key::kTyping) {
      QApplication::sendEvent(text1, &commit);
    } else {
      QApplication::sendEvent(text1, &backspace);
    }
    text2->viewport()->repaint();
    text5->viewport()->repaint();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (key == Key::kTyping && text5->toPlainText().size() != before.size() + 6)
      std::fprintf(stderr, "hint text did not change\n");
    if (key == Key::kBackspace && text1->toPlainText().size() != sourceSize - 1)
      std::fprintf(stderr, "Backspace deleted no character\n");
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kelvaro::Form1 form(kelvaro::ExecutableDirectory());
  form.resize(1280, 900);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  std::printf("%-14s %-10s %-10s %12s %12s\n", "source", "length", "key", "end (ms)",
              "middle (ms)");
  for (const bool oneParagraph : {false, true}) {
    for (const int length : {100, 1'000, 10'000, 100'000}) {
      const QString source = Source(length, oneParagraph);
      for (const Key key : {Key::kTyping, Key::kBackspace}) {
        const double end = MedianKeystrokeMs(form, source, true, key);
        const double middle = MedianKeystrokeMs(form, source, false, key);
        std::printf("%-14s %-10d %-10s %12.2f %12.2f\n",
                    oneParagraph ? "one paragraph" : "line breaks", length,
                    key == Key::kTyping ? "typing" : "Backspace", end, middle);
      }
    }
  }
  std::printf("peak memory %.1f MiB\n", kelvaro::bench::ProcessMemoryMiB("VmHWM"));
  return 0;
}
