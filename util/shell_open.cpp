#include "util/shell_open.h"

#include <QUrl>

#ifdef Q_OS_WIN
#include <shellapi.h>
#include <windows.h>
#else
#include <QDesktopServices>
#endif

namespace kelvaro {

void ShellOpen(const QString& operation, const QString& file,
               const std::optional<QString>& parameters, const std::optional<QString>& directory,
               int showCommand) {
#ifdef Q_OS_WIN
  auto wide = [](const std::optional<QString>& s) {
    return s ? reinterpret_cast<LPCWSTR>(s->utf16()) : nullptr;
  };
  ShellExecuteW(GetDesktopWindow(), reinterpret_cast<LPCWSTR>(operation.utf16()),
                reinterpret_cast<LPCWSTR>(file.utf16()), wide(parameters), wide(directory),
                showCommand);
#else
  // The desktop decides how to open the address; parameters, directory and
  // show command have no meaning there.
  Q_UNUSED(operation);
  Q_UNUSED(parameters);
  Q_UNUSED(directory);
  Q_UNUSED(showCommand);
  QDesktopServices::openUrl(QUrl::fromUserInput(file));
#endif
}

}  // namespace kelvaro
