#pragma once

#include <QString>
#include <filesystem>

namespace kelvaro {

// The file address of the home page that ships with the program, found from
// the program's directory: share/kelvaro/index.html beside lib/kelvaro/ once
// installed, or in the build tree. When neither exists, the installed place.
// The address keeps the directory's bytes, whatever they are (a folder name
// in GBK bytes is percent-encoded as it stands).
QString HomePageAddress(const std::filesystem::path& programDirectory);

}  // namespace kelvaro
