// Velko Configurator: one window that edits the web server port and the Velko settings.
#include <windows.h>

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
    velko::FrmVelko window(instance, velko::desktopDialogs(), velko::InstallationPaths{});
    window.open(showCommand);
    return runMessageLoop(window);
}
