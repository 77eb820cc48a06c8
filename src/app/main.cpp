// Velko Configurator: one window that edits the web server port and the Velko settings.
#include <windows.h>
#include <objbase.h>

#include "app/frm_velko.h"

namespace {

int runMessageLoop(velko::FrmVelko& window) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (window.translateKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // Screen readers receive the fields' accessible objects through COM, and the open-file
    // dialog hosts shell objects: both want the window's thread in an apartment.
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int exitCode = 0;
    {
        velko::FrmVelko window(instance, velko::desktopDialogs(), velko::InstallationPaths{});
        window.open(showCommand);
        exitCode = runMessageLoop(window);
    }
    if (SUCCEEDED(apartment)) CoUninitialize();
    return exitCode;
}
