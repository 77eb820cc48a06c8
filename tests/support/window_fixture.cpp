#include "window_fixture.h"

#include "app/layout.h"

namespace velko::testing {

WindowTest::WindowTest() { scratch.makeDirectory(kXampp); }

void WindowTest::pointAtInstallation() const {
    scratch.write("xampp.txt", "xampp_dir\t= " + xamppDirectory() + "\r\n");
}

void WindowTest::installDemo() const {
    scratch.remove(kXampp);
    scratch.copyDemo(kXampp);
    scratch.remove(std::string(kXampp) + "xampp-control.ini");
    pointAtInstallation();
}

bool WindowTest::open() {
    window = std::make_unique<FrmVelko>(GetModuleHandleA(nullptr), dialogs, paths());
    return window->open(SW_SHOWNOACTIVATE);
}

void WindowTest::pump() const {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (window && window->translateKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string WindowTest::textOf(Control name) const {
    const HWND handle = control(name);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(handle)), '\0');
    GetWindowTextA(handle, text.data(), static_cast<int>(text.size()) + 1);
    return text;
}

void WindowTest::setTextOf(Control name, const std::string& text) const { SetWindowTextA(control(name), text.c_str()); }

void WindowTest::click(Control button) {
    SendMessageA(control(button), BM_CLICK, 0, 0);
    pump();
}

void WindowTest::chooseMenu(int command) {
    SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    pump();
}

}  // namespace velko::testing
