// frmVelko's keyboard: the Tab order of its table, Ctrl+Tab between the pages, access keys.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/frm_velko.h"

namespace velko {
namespace {

bool isDown(int key) { return GetKeyState(key) < 0; }

bool canTakeFocus(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

}  // namespace

bool FrmVelko::translateKeys(MSG& message) {
    if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !isDown(VK_MENU)) {
        const int step = isDown(VK_SHIFT) ? -1 : 1;
        if (isDown(VK_CONTROL)) switchTab(step);
        else moveFocus(step);
        return true;
    }
    return IsDialogMessageA(hwnd_, &message);
}

// The window's Tab order differs from the stacking order of its controls, so it is kept here.
void FrmVelko::moveFocus(int step) {
    const int count = static_cast<int>(kTabOrder.size());
    const HWND focus = GetFocus();
    const auto current = std::find_if(kTabOrder.begin(), kTabOrder.end(),
                                      [&](Control name) { return control(name) == focus; });
    int index = current == kTabOrder.end() ? (step > 0 ? -1 : 0) : static_cast<int>(current - kTabOrder.begin());
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        const HWND next = control(kTabOrder[index]);
        if (!canTakeFocus(next)) continue;
        SetFocus(next);
        if (specOf(kTabOrder[index]).kind == Kind::TextBox) SendMessageA(next, EM_SETSEL, 0, -1);
        return;
    }
}

// Selects the next or previous tab as a click would, so that the page follows.
void FrmVelko::switchTab(int step) {
    const HWND tabs = control(Control::tsTabs);
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
    SendMessageA(tabs, TCM_SETCURFOCUS, (current + step + count) % count, 0);
    // A field of the page just hidden must not keep the keyboard.
    if (!IsWindowVisible(GetFocus())) SetFocus(tabs);
}

}  // namespace velko
