#pragma once

namespace kelvaro {

// False when Qt would find no display to open its windows on (it would abort
// with a core dump instead of an error). A platform chosen through
// QT_QPA_PLATFORM is trusted as it is.
bool CanReachADisplay();

}  // namespace kelvaro
