#pragma once

#include <QString>

namespace kelvaro {

// Hands a document or web address to the desktop's "open" operation, so that
// the user's default browser shows it. Returns at once; a failure (no
// browser) is ignored.
void ShellOpen(const QString& file);

}  // namespace kelvaro
