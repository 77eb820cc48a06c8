#include "key_strokes.h"

#include <algorithm>
#include <iterator>

namespace velko::testing {

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(before_);
    BYTE held[256];
    std::copy(std::begin(before_), std::end(before_), held);
    for (const int key : keys) held[key] = 0x80;
    SetKeyboardState(held);
}

HeldKeys::~HeldKeys() { SetKeyboardState(before_); }

void postKeyStroke(HWND target, UINT key) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM context = alt ? LPARAM{1} << 29 : 0;
    const LPARAM released = LPARAM{3} << 30;
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | scanCode | context);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, 1 | scanCode | context | released);
}

}  // namespace velko::testing
