#include "win/file_io.h"

#include <algorithm>

#include "win/win_error.h"

namespace velko {

void writeAll(HANDLE file, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), part, &written, nullptr)) throw lastErrorFailure(path);
        bytes.remove_prefix(written);
    }
}

std::string readToEnd(HANDLE file, const std::string& path) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) throw lastErrorFailure(path);
    // The file may grow while it is read: the reading goes on until the end it finds then.
    std::string bytes(static_cast<size_t>(size.QuadPart) + 1, '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - filled, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + filled, wanted, &got, nullptr)) throw lastErrorFailure(path);
        if (got == 0) break;
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

std::string readWholeFile(const std::string& path) {
    const FileHandle file(orNull(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!file) throw lastErrorFailure(path);
    return readToEnd(file.get(), path);
}

std::optional<std::string> readFileIfPresent(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    return readWholeFile(path);
}

}  // namespace velko
