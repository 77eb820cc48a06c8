#pragma once
// Screen readers name a field after the label in front of it in the stacking order. The window's
// labels lie behind their fields, so each field gives its label's caption as its name itself.
#include <windows.h>

namespace velko {

void nameFieldAfterLabel(HWND field, HWND label);

}  // namespace velko
