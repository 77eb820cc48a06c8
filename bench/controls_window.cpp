// The limit of start-up for a program with the configurator's window: the same window, with the
// same classes, icon, menu bar, controls, layout and font, built by the configurator's own code
// and shown, and nothing loaded into it.
#include <windows.h>

#include "app/window_build.h"
#include "baseline_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    velko::registerWindowClasses(instance, velko::bench::endingWindowProc);
    const HWND window = velko::createMainWindow(instance, velko::buildMenuBar(), nullptr);
    const velko::Controls controls = velko::createControls(window, instance);
    const velko::GdiObject font = velko::layOutControls(window, controls, GetDpiForWindow(window));
    ShowWindow(window, showCommand);
    SetFocus(controls[static_cast<size_t>(velko::Control::tsTabs)]);
    return velko::bench::runMessageLoop();
}
