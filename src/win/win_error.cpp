#include "win/win_error.h"

namespace velko {
namespace {

std::string systemMessage(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string message(buffer ? buffer : "", length);
    LocalFree(buffer);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(error) : message;
}

}  // namespace

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
        return Failure(PathNotFound, "Path not found: " + path);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Failure(PermissionDenied, "Permission denied: " + path + " is in use by another program");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Failure(DiskFull, "Disk full: " + path);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return Failure(OutOfMemory, "Out of memory: " + path);
    default:
        return Failure(PathFileAccess, "Path/File access error: " + path + " (" + systemMessage(error) + ")");
    }
}

Failure lastErrorFailure(const std::string& path) { return errorFailure(GetLastError(), path); }

}  // namespace velko
