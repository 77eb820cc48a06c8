// Velko Configurator: one window that edits the web server port and the Velko settings.
#include <windows.h>

#include "app/frm_velko.h"

namespace {

// The program runs elevated and saves into folders that other accounts may change: where Windows
// offers it (Windows 11 22H2, Server 2022), it follows no junction or symbolic link that an account
// without administrator rights made. Older Windows lacks the function or the policy and refuses
// it; the program then starts as before.
void trustOnlyAdministratorsLinks() {
    using SetPolicy = BOOL WINAPI(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
    const auto setPolicy = reinterpret_cast<SetPolicy*>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetProcessMitigationPolicy")));
    PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy{};
    policy.EnforceRedirectionTrust = 1;
    if (setPolicy) setPolicy(ProcessRedirectionTrustPolicy, &policy, sizeof policy);
}

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
    trustOnlyAdministratorsLinks();
    velko::FrmVelko window(instance, velko::desktopDialogs(), velko::InstallationPaths{});
    window.open(showCommand);
    return runMessageLoop(window);
}
