#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "win/failure.h"

namespace velko {

// What the system says about an error, in its own words.
std::string systemMessage(DWORD error);

// The failure for the calling thread's last error, about the file or directory at path.
Failure lastErrorFailure(const std::string& path);
Failure errorFailure(DWORD error, const std::string& path);

// The failure to create what, for the calling thread's last error.
Failure creationFailure(std::string_view what);

// The handle that a creating call returned; a null one is the failure to create what.
template <class Handle>
Handle created(Handle handle, std::string_view what) {
    if (!handle) throw creationFailure(what);
    return handle;
}

}  // namespace velko
