#pragma once

namespace kelvaro {

// Registers, once, the accessible interface of LongTextBox: an editable text
// with its text, caret, selection and character positions.
void InstallLongTextAccessibility();

}  // namespace kelvaro
