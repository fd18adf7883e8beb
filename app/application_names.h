#pragma once

namespace kelvaro {

// Names the program to Qt and to the desktop: the application name and the
// desktop entry that holds its icon. It sets no display name, which Qt would
// append to the caption of every window.
void SetApplicationNames();

}  // namespace kelvaro
