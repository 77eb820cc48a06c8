#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/handles.h"

namespace velko {

// Writes every byte, or throws the failure for path.
void writeAll(HANDLE file, std::string_view bytes, const std::string& path);

// The rest of an open file, up to the end it has when the reading gets there. A failure names path.
std::string readToEnd(HANDLE file, const std::string& path);

// The whole content of a file, read at once; the file is closed again before it returns. A
// failure to open or read it names path.
std::string readWholeFile(const std::string& path);

// The same, or nothing when its directory holds no file of that name. A directory that is not
// there is a failure, as is every other.
std::optional<std::string> readFileIfPresent(const std::string& path);

}  // namespace velko
