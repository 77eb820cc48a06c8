#pragma once
// Building frmVelko's window from its layout table, at the screen's resolution: the window as it
// stands before anything is loaded into it.
#include <windows.h>

#include <array>

#include "app/layout.h"
#include "win/handles.h"

namespace velko {

inline constexpr char kWindowClass[] = "VelkoConfigurator";

using Controls = std::array<HWND, kControlCount>;

// Registers the classes of the window, with the given procedure, and of its frames.
void registerWindowClasses(HINSTANCE instance, WNDPROC windowProc);

HMENU buildMenuBar();

// The window with its menu bar, hidden; its procedure receives createParameter with WM_NCCREATE.
HWND createMainWindow(HINSTANCE instance, HMENU menuBar, void* createParameter);

// Every control of the table, each behind the ones before it in its container; each frame with
// its group box, the tab strip with its two tabs.
Controls createControls(HWND window, HINSTANCE instance);

// Places every control at its 96-DPI rectangle scaled to dpi, in a font of the same scale, and
// sizes the window around its client area. The font is the caller's to keep while the controls use it.
GdiObject layOutControls(HWND window, const Controls& controls, UINT dpi);

}  // namespace velko
