#pragma once

#include <QString>

namespace kelvaro {

// The file address of the home page that ships with the program, found from
// the program's directory: share/kelvaro/index.html beside lib/kelvaro/ once
// installed, or in the build tree. When neither exists, the installed place.
QString HomePageAddress(const QString& programDirectory);

}  // namespace kelvaro
