#pragma once
// The one seam through which the program meets its modal dialogs and ends its process, so that
// tests in the same process can answer them.
#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>

namespace velko {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // MessageBox: the button the user pressed.
    virtual int showMessage(HWND owner, const std::string& text, const std::string& title, UINT style) = 0;

    // The input box: the answer, or nothing when the user cancelled it.
    virtual std::optional<std::string> askText(HWND owner, const std::string& prompt, const std::string& title,
                                               const std::string& defaultAnswer) = 0;

    // GetOpenFileNameA: its result.
    virtual BOOL openFileName(OPENFILENAMEA& record) = 0;

    // Shows a pop-up menu at the mouse pointer; a choice reaches the owner as a menu command.
    virtual void trackPopupMenu(HMENU menu, HWND owner) = 0;

    // Ends the program with the exit code, once its window is gone.
    virtual void endProcess(UINT exitCode) = 0;
};

// The platform's own dialogs.
Dialogs& desktopDialogs();

}  // namespace velko
