#include "app/home_page.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace kelvaro {

QString HomePageAddress(const QString& programDirectory) {
  // Set by the build: the page relative to the installed program and to the
  // program in the build tree.
  const QDir program(programDirectory);
  const QString installed = program.absoluteFilePath(QStringLiteral(KELVARO_INSTALLED_HOME_PAGE));
  const QString built = program.absoluteFilePath(QStringLiteral(KELVARO_BUILT_HOME_PAGE));
  const QString page =
      !QFileInfo::exists(installed) && QFileInfo::exists(built) ? built : installed;
  return QUrl::fromLocalFile(QDir::cleanPath(page)).toString();
}

}  // namespace kelvaro
