#include <QApplication>
#include <cstdio>

#include "app/application_names.h"
#include "app/display_check.h"
#include "app/form1.h"
#include "app/qt_translations.h"
#include "wordlist/word_list_location.h"

int main(int argc, char** argv) {
  if (!kelvaro::CanReachADisplay()) {
    std::fputs(
        "kelvaro: no display found. Start it from a desktop session, or as 'xvfb-run kelvaro'; "
        "'kelvaro-pinyin TEXT' converts text without one.\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  kelvaro::InstallQtTranslations(app);
  kelvaro::SetApplicationNames();
  kelvaro::Form1 form1(kelvaro::ExecutableDirectory());
  form1.showMaximized();
  return QApplication::exec();
}
