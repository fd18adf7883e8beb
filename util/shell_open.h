#pragma once

#include <QString>
#include <optional>

namespace kelvaro {

// The show command that activates the opened program's window at its normal
// size and position.
inline constexpr int kShowNormal = 1;

// Hands a document or web address to the desktop's "open" operation, so that
// the user's default browser shows it. Returns at once; a failure (no
// browser) is ignored.
void ShellOpen(const QString& operation, const QString& file,
               const std::optional<QString>& parameters, const std::optional<QString>& directory,
               int showCommand);

}  // namespace kelvaro
