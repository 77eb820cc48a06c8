#pragma once
// A test that opens the real window in this process, on an installation of its own, with
// scripted dialogs.
#include <gtest/gtest.h>

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

}  // namespace velko::testing
