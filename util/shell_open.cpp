#include "util/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace kelvaro {

void ShellOpen(const QString& file) { QDesktopServices::openUrl(QUrl::fromUserInput(file)); }

}  // namespace kelvaro
