// A word list holding an entry of a million characters, offscreen, shown
// window. Side by side, median of 5 each: choosing the long entry until the
// source box holds it and the window has painted, pasting the same text into
// the source box, moving between two short entries, and the start until the
// window is shown.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/form1.h"
#include "textbox/long_text_box.h"
#include "wordlist/word_list_file.h"

namespace {

constexpr int kLongEntryLength = 1'000'000;

double MedianMs(const std::function<void()>& prepare, const std::function<void()>& timed) {
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    prepare();
    QElapsedTimer timer;
    timer.start();
    timed();
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir dir;
  {
    // 中国, 猫 a million times, 女, in GBK.
    const std::u8string_view name = kelvaro::kWordListFileName;
    QFile file(dir.filePath(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write("\xD6\xD0\xB9\xFA\r\n" + QByteArray("\xC3\xA8").repeated(kLongEntryLength) +
               "\r\n\xC5\xAE\r\n");
  }
  const std::filesystem::path programDirectory = QFile::encodeName(dir.path()).toStdString();

  std::unique_ptr<kelvaro::Form1> form;
  const double start = MedianMs([&] { form.reset(); },
                                [&] {
                                  form = std::make_unique<kelvaro::Form1>(programDirectory);
                                  form->resize(1280, 900);
                                  form->show();
                                  (void)QTest::qWaitForWindowExposed(form.get());
                                  form->repaint();
                                });
  auto* list = form->findChild<QListWidget*>(QStringLiteral("List1"));
  auto* text1 = form->findChild<kelvaro::LongTextBox*>(QStringLiteral("Text1"));
  const auto toShortEntry = [&] {
    list->setCurrentRow(0);
    QCoreApplication::processEvents();
  };
  const double choose = MedianMs(toShortEntry, [&] {
    list->setCurrentRow(1);
    while (text1->toPlainText().size() < kLongEntryLength) {
      QCoreApplication::processEvents();
    }
    form->repaint();
  });
  const QString longEntry(kLongEntryLength, QChar(0x732B));
  const double paste = MedianMs(toShortEntry, [&] {
    QApplication::clipboard()->setText(longEntry);
    text1->selectAll();
    text1->paste();
    form->repaint();
  });
  const double move = MedianMs(toShortEntry, [&] {
    list->setCurrentRow(2);
    form->repaint();
  });
  std::printf("entry of %d characters, median of 5 (ms)\n", kLongEntryLength);
  std::printf("  start until shown   %8.1f\n", start);
  std::printf("  choose it           %8.1f\n", choose);
  std::printf("  paste the same text %8.1f\n", paste);
  std::printf("  move between short  %8.1f\n", move);
  return 0;
}
