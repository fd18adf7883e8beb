#pragma once

#include <QDir>
#include <QString>
#include <string_view>

#include "wordlist/word_list_file.h"

namespace kelvaro {

// The UTF-16 text of a QString, without a copy; valid while the string lives.
inline std::u16string_view Utf16View(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// The word-list file in a program directory, joined with the platform's separator.
inline QString WordListPath(const QString& programDirectory) {
  return programDirectory + QDir::separator() +
         QString::fromUtf8(reinterpret_cast<const char*>(kWordListFileName.data()),
                           static_cast<qsizetype>(kWordListFileName.size()));
}

}  // namespace kelvaro
