#include "app/home_page.h"

#include <QByteArray>
#include <QUrl>
#include <system_error>

namespace kelvaro {

QString HomePageAddress(const std::filesystem::path& programDirectory) {
  // Set by the build: the page relative to the installed program and to the
  // program in the build tree.
  const std::filesystem::path directory = std::filesystem::absolute(programDirectory);
  const std::filesystem::path installed =
      (directory / KELVARO_INSTALLED_HOME_PAGE).lexically_normal();
  const std::filesystem::path built = (directory / KELVARO_BUILT_HOME_PAGE).lexically_normal();
  std::error_code error;
  const bool useBuilt =
      !std::filesystem::exists(installed, error) && std::filesystem::exists(built, error);
  const std::string& page = (useBuilt ? built : installed).native();
  const QByteArray path = QByteArray::fromStdString(page).toPercentEncoding("/");
  return QUrl::fromEncoded("file://" + path, QUrl::StrictMode).toString(QUrl::FullyEncoded);
}

}  // namespace kelvaro
