#pragma once

#include <QString>
#include <string_view>

namespace kelvaro {

// The UTF-16 text of a QString, without a copy; valid while the string lives.
inline std::u16string_view Utf16View(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace kelvaro
