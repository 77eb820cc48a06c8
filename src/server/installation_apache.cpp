#include "server/installation_apache.h"

#include <windows.h>

#include "win/handles.h"

namespace velko {
namespace {

FileHandle opened(const std::string& path, DWORD flags) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return FileHandle(orNull(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr)));
}

// Where an open file or folder really lies, every link on the way followed: "\\?\C:\..." on a
// disk, "\\?\UNC\..." on a network share.
std::optional<std::string> finalPathOf(const FileHandle& opened) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleA(opened.get(), path.data(), static_cast<DWORD>(path.size()), 0);
        if (length == 0) return std::nullopt;
        const bool whole = length < path.size();
        path.resize(length);
        if (whole) return path;
    }
}

bool isOrdinaryFile(const FileHandle& opened) {
    BY_HANDLE_FILE_INFORMATION about{};
    return GetFileInformationByHandle(opened.get(), &about) &&
           (about.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

bool samePath(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

std::optional<std::string> installationApache(const std::string& xamppDirectory) {
    const std::string program = xamppDirectory + std::string(kApacheProgram);
    // The installation's own folder may be a link; below it, nothing may be.
    const FileHandle file = opened(program, FILE_FLAG_OPEN_REPARSE_POINT);
    const FileHandle top = opened(xamppDirectory, FILE_FLAG_BACKUP_SEMANTICS);
    if (!file || !top || !isOrdinaryFile(file)) return std::nullopt;
    const std::optional<std::string> fileLies = finalPathOf(file);
    std::optional<std::string> topLies = finalPathOf(top);
    if (!fileLies || !topLies || fileLies->starts_with("\\\\?\\UNC\\")) return std::nullopt;
    if (!topLies->ends_with('\\')) *topLies += '\\';
    if (!samePath(*fileLies, *topLies + std::string(kApacheProgram))) return std::nullopt;
    return program;
}

}  // namespace velko
