#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace velko {

// Writes every byte, or throws the failure for path.
void writeAll(HANDLE file, std::string_view bytes, const std::string& path);

}  // namespace velko
