#pragma once

namespace kelvaro {

// Registers, once, the accessible interfaces of the program's own controls:
// a clickable label or picture whose click does something is a button that
// assistive technology can press, named by its accessible name or else by
// its text; the main window leaves out of its children the controls that are
// never shown.
void InstallAccessibility();

}  // namespace kelvaro
