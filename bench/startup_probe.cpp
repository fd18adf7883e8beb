// Starts the main window as the program does, waits until it is shown with
// its first conversion done, prints the resident memory and exits. Timed from
// outside: hyperfine 'QT_QPA_PLATFORM=offscreen build/bench/startup_probe'.
#include <QApplication>
#include <QTest>
#include <cstdio>

#include "app/form1.h"
#include "process_memory.h"
#include "wordlist/word_list_location.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kelvaro::Form1 form1(kelvaro::ExecutableDirectory());
  form1.showMaximized();
  if (!QTest::qWaitForWindowExposed(&form1)) return 1;
  QCoreApplication::processEvents();
  std::printf("resident %.1f MiB\n", kelvaro::bench::ProcessMemoryMiB("VmRSS"));
  return 0;
}
