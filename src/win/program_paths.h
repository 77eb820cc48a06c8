#pragma once
// Where a file or a running program really is: a path as the system resolves it, so that two
// names of one file (letter case, 8.3 names, links on the way) are seen as one.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace velko {

// The full path of a process's image in the system code page; empty where the system will not
// tell it (a service of another user, say).
std::string imageOf(DWORD processId);

// Where an open file or folder really lies, every link on the way followed: "\\?\C:\..." on a
// disk, "\\?\UNC\..." on a network share. Nothing when the system cannot tell.
std::optional<std::wstring> finalWidePathOf(HANDLE opened);
std::optional<std::string> finalPathOf(HANDLE opened);
// The same for a path, which is opened for it; nothing when it cannot be opened.
std::optional<std::string> finalPathOf(const std::string& path);

// Whether two paths are the same as Windows compares them: ordinally, letter case aside. Narrow
// paths are in the system code page.
bool samePath(std::wstring_view a, std::wstring_view b);
bool samePath(std::string_view a, std::string_view b);

// Whether a path names the file at a final path.
bool isSameFile(const std::string& path, const std::string& finalPath);

}  // namespace velko
