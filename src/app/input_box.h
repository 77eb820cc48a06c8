#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace velko {

// A modal box that asks for one line of text: the answer, or nothing when cancelled.
std::optional<std::string> showInputBox(HINSTANCE instance, HWND owner, const std::string& prompt,
                                        const std::string& title, const std::string& defaultAnswer);

}  // namespace velko
