#pragma once
// A test that runs the real configurator as its own process on an installation of its own, and
// uses it through its windows as a person would. The program reads the real pointer file
// "c:\xampp.txt" and needs the screen, the keyboard and the mouse to itself, so each of these
// tests runs alone.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/layout.h"
#include "running_program.h"
#include "temp_installation.h"
#include "user_input.h"

namespace velko::e2e {

// Every file below a directory, by its path relative to it, with its bytes.
using FileContents = std::map<std::string, std::string>;
FileContents filesBelow(const std::string& directory);

class EndToEndTest : public ::testing::Test {
protected:
    static constexpr char kMainWindowClass[] = "VelkoConfigurator";
    static constexpr char kDialogClass[] = "#32770";
    static constexpr char kPopupMenuClass[] = "#32768";

    EndToEndTest();
    ~EndToEndTest() override;

    std::string xamppDirectory() const { return scratch.path("xampp\\"); }
    std::string pointerFile() const;
    // Copies the demo installation and points the pointer file at it.
    void installDemo() const;

    // Starts the program; the main window is looked for only when asked.
    void start();
    // Waits until the main window is on the screen and remembers it; false when it never came.
    bool waitForMainWindow();
    // The main window, shown or not; nullptr before the program has created it.
    HWND findMainWindow() const;

    HWND control(Control name) const;
    std::string textOf(Control name) const;
    bool isVisible(Control name) const;
    bool waitForText(Control name, const std::string& expected) const;

    // Brings the main window to the front and presses a key there.
    void pressKeyOnWindow(WORD virtualKey, std::initializer_list<WORD> modifiers = {}) const;
    void clickOn(Control name) const;
    // Clicks at a point of a window, after checking that no other window covers the point there.
    static void clickInside(HWND window, POINT point);
    // Clicks into a text box, selects its whole text and types the new one over it.
    void typeInto(Control name, const std::string& text) const;

    testing::TempDirectory scratch;
    std::unique_ptr<RunningProgram> program;  // ends before the scratch directory goes
    HWND mainWindow = nullptr;
};

}  // namespace velko::e2e
