#pragma once
// The real configurator started as its own process, watched and driven from outside.
#include <windows.h>

#include <optional>
#include <string_view>

#include "desktop.h"

namespace velko::e2e {

class RunningProgram {
public:
    RunningProgram();
    // Ends the program if it still runs, so that no test leaves it behind.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD processId() const { return process_.dwProcessId; }

    // Waits for a top-level window of the program; nullptr when none came in time.
    HWND waitForWindow(std::string_view className, std::string_view title,
                       std::chrono::milliseconds patience = kPatience) const;

    // Waits for the program to end; its exit code, or nothing when it still runs.
    std::optional<DWORD> waitForExit(std::chrono::milliseconds patience = kPatience) const;

    // Brings a top-level window of the program to the foreground, as a click on its caption
    // would; true when it is active with the focus inside it in time.
    bool bringToFront(HWND topLevel) const;
    // Waits until the keyboard focus is on the window, so that typing reaches it.
    bool waitForFocus(HWND window) const;
    HWND focus() const { return guiThreadInfo(process_.dwThreadId).hwndFocus; }

    // A tab's rectangle on the screen; the tab strip writes it into the program's own memory.
    RECT tabOnScreen(HWND tabStrip, int index) const;

private:
    PROCESS_INFORMATION process_{};
};

}  // namespace velko::e2e
