#pragma once
// Where a file or a running program really is: a path as the system resolves it, so that two
// names of one file (letter case, 8.3 names, links on the way) are seen as one.
#include <windows.h>

#include <optional>
#include <string>

namespace velko {

// The full path of a process's image in the system code page; empty where the system will not
// tell it (a service of another user, say).
std::string imageOf(DWORD processId);

// The path of an existing file or folder with every link on the way resolved; nothing when it
// cannot be opened.
std::optional<std::string> finalPathOf(const std::string& path);

// Whether a path names the same file as a final path, as Windows compares paths (letter case aside).
bool isSameFile(const std::string& path, const std::string& finalPath);

}  // namespace velko
