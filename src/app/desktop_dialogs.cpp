// The platform's own dialogs, pop-up menus and end of the program.
#include "app/input_box.h"
#include "win/dialogs.h"
#include "win/system_library.h"

namespace velko {
namespace {

class DesktopDialogs final : public Dialogs {
public:
    int showMessage(HWND owner, const std::string& text, const std::string& title, UINT style) override {
        return MessageBoxA(owner, text.c_str(), title.c_str(), style);
    }

    std::optional<std::string> askText(HWND owner, const std::string& prompt, const std::string& title,
                                       const std::string& defaultAnswer) override {
        return showInputBox(GetModuleHandleA(nullptr), owner, prompt, title, defaultAnswer);
    }

    BOOL openFileName(OPENFILENAMEA& record) override {
        const auto open = comdlg32_.function<decltype(GetOpenFileNameA)>("GetOpenFileNameA");
        return open ? open(&record) : FALSE;
    }

    // At the mouse pointer with the platform's defaults; the owner must be in the foreground
    // for the menu to close when the user clicks elsewhere.
    void trackPopupMenu(HMENU menu, HWND owner) override {
        POINT pointer{};
        GetCursorPos(&pointer);
        SetForegroundWindow(owner);
        TrackPopupMenu(menu, 0, pointer.x, pointer.y, 0, owner, nullptr);
        PostMessageA(owner, WM_NULL, 0, 0);
    }

    void endProcess(UINT exitCode) override { PostQuitMessage(static_cast<int>(exitCode)); }

private:
    SystemLibrary comdlg32_{"comdlg32.dll"};  // loaded when the picker first opens
};

}  // namespace

Dialogs& desktopDialogs() {
    static DesktopDialogs dialogs;
    return dialogs;
}

}  // namespace velko
