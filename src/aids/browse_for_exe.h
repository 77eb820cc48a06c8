#pragma once
// The executable picker: the platform's open-file dialog, filtered to executables.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/dialogs.h"

namespace velko {

// The full path the user chose, or the empty text when the dialog was cancelled or failed.
std::string BrowseForExe(Dialogs& dialogs, HWND owner, HINSTANCE instance);

// What a picked path puts into its field: the path less its ".exe" (lower case only); nothing
// for any other path.
std::optional<std::string> pathWithoutExe(std::string_view path);

}  // namespace velko
