#pragma once

#include <QCoreApplication>

namespace kelvaro {

// Installs Qt's own Chinese translations, so the texts that Qt's widgets
// show themselves, such as the edit menu of a text box, read in Chinese like
// the rest of the program. Without them installed, Qt's English stays.
void InstallQtTranslations(QCoreApplication& app);

}  // namespace kelvaro
