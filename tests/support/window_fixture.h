#pragma once
// A test that opens the real window in this process, on an installation of its own, with
// scripted dialogs.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/frm_velko.h"
#include "scripted_dialogs.h"
#include "temp_installation.h"

namespace velko::testing {

class WindowTest : public ::testing::Test {
protected:
    // The installation lives in "xampp\" below the scratch directory; the pointer file beside it.
    static constexpr std::string_view kXampp = "xampp\\";

    WindowTest();

    // Where the window looks for the pointer file and the default location: `locations`.
    InstallationPaths paths() const { return locations; }
    std::string xamppDirectory() const { return scratch.path(kXampp); }
    // Points the pointer file at the installation (with CR LF, as the program writes it).
    void pointAtInstallation() const;
    // The demo less the control panel's settings, so that a port change replaces the three files
    // alone; the saves that move it too are tested in tests/config and tests/e2e.
    void installDemo() const;

    // Creates and opens the window as the program does at start-up.
    bool open();
    // Handles the pending messages of this thread, as the program's message loop would.
    void pump() const;

    HWND control(Control name) const { return window->control(name); }
    std::string textOf(Control name) const;
    void setTextOf(Control name, const std::string& text) const;
    void click(Control button);
    void chooseMenu(int command);

    TempDirectory scratch;
    // The pointer file beside the installation and a default location that does not exist; a test
    // may change both before open().
    InstallationPaths locations{scratch.path("xampp.txt"), scratch.path("no default location")};
    ScriptedDialogs dialogs;
    std::unique_ptr<FrmVelko> window;
};

// A window of the test that runs an action when a save or load lets the events of the thread be
// handled, as the user's typing and clicks would be.
class DuringTheSave {
public:
    explicit DuringTheSave(std::function<void()> action) : action_(std::move(action)) {
        WNDCLASSA type{};
        type.lpfnWndProc = &DuringTheSave::proc;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "VelkoTestDuringTheSave";
        RegisterClassA(&type);
        window_ = CreateWindowA(type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        PostMessageA(window_, WM_APP, 0, 0);
    }
    ~DuringTheSave() { DestroyWindow(window_); }
    DuringTheSave(const DuringTheSave&) = delete;
    DuringTheSave& operator=(const DuringTheSave&) = delete;

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<DuringTheSave*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_APP && self) self->action_();
        return DefWindowProcA(window, message, wParam, lParam);
    }

    std::function<void()> action_;
    HWND window_ = nullptr;
};

}  // namespace velko::testing
