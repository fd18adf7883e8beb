#include "app/application_names.h"

#include <QGuiApplication>

namespace kelvaro {

void SetApplicationNames() {
  QGuiApplication::setApplicationName(QStringLiteral("kelvaro"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kelvaro.Kelvaro"));
}

}  // namespace kelvaro
