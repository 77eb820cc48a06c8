#include "win/win_error.h"

#include "ui_text.h"

namespace velko {

std::string systemMessage(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string message(buffer ? buffer : "", length);
    LocalFree(buffer);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? text::filled(text::kSystemError, {std::to_string(error)}) : message;
}

Failure errorFailure(DWORD error, const std::string& path) {
    using namespace failure_number;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound(path);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
        return Failure(PathNotFound, text::filled(text::kPathNotFound, {path}));
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Failure(PermissionDenied, text::filled(text::kFileInUse, {path}));
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Failure(DiskFull, text::filled(text::kDiskFull, {path}));
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return Failure(OutOfMemory, text::filled(text::kOutOfMemoryFor, {path}));
    default:
        return Failure(PathFileAccess, text::filled(text::kPathFileAccess, {path, systemMessage(error)}));
    }
}

Failure lastErrorFailure(const std::string& path) { return errorFailure(GetLastError(), path); }

// Windows fails to create windows, classes and fonts when its resources run out.
Failure creationFailure(std::string_view what) {
    const DWORD error = GetLastError();
    const std::string reason = error ? systemMessage(error) : std::string(text::kNoReasonGiven);
    return Failure(failure_number::OutOfMemory, text::filled(text::kCannotCreate, {what, reason}));
}

}  // namespace velko
