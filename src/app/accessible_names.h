#pragma once
// Screen readers name a field after the label in front of it in the stacking order. The window's
// labels lie behind their fields, so each field gives its label's caption as its name itself.
// The accessibility libraries are loaded, and the apartment entered, when a screen reader first
// asks.
#include <windows.h>

#include "win/com_apartment.h"

namespace velko {

// The apartment must outlive the field.
void nameFieldAfterLabel(HWND field, HWND label, ComApartment& apartment);

}  // namespace velko
