#pragma once
// The keyboard and the mouse of a person at the desktop. The input goes, as a person's does, to
// the window in the foreground and the control with the focus there.
#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace velko::e2e {

// Types each character as a key stroke of its own.
void typeText(std::string_view text);

// Selects the whole text of the field with the focus and types the text over it.
void typeOver(std::string_view text);

// Presses and releases a key while holding the modifiers, e.g. pressKey('S', {VK_MENU}) for Alt+S.
void pressKey(WORD virtualKey, std::initializer_list<WORD> modifiers = {});

// Moves the mouse to a point of the screen and clicks the left button there.
void clickAt(POINT point);

}  // namespace velko::e2e
