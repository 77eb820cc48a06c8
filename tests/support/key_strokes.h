#pragma once
// Keys as the keyboard delivers them to this thread: modifiers held in its keyboard state, key
// strokes posted to a window, for the message loop to translate and dispatch.
#include <windows.h>

#include <initializer_list>

namespace velko::testing {

// Holds keys down while it lives, as GetKeyState and TranslateMessage see them.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE before_[256];
};

// Posts the key's press and release to the window (the one with the focus, as the keyboard
// would): system keys while Alt is held.
void postKeyStroke(HWND target, UINT key);

}  // namespace velko::testing
