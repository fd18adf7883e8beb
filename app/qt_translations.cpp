#include "app/qt_translations.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace kelvaro {

void InstallQtTranslations(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace kelvaro
