#pragma once
#include <windows.h>

#include <string>

#include "config/failure.h"

namespace velko {

// The failure for the calling thread's last error, about the file or directory at path.
Failure lastErrorFailure(const std::string& path);
Failure errorFailure(DWORD error, const std::string& path);

}  // namespace velko
