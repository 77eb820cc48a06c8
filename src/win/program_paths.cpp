#include "win/program_paths.h"

#include "win/handles.h"
#include "win/held_folder.h"

namespace velko {

std::string imageOf(DWORD processId) {
    const ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    char path[MAX_PATH * 2];
    DWORD length = ARRAYSIZE(path);
    if (!QueryFullProcessImageNameA(process.get(), 0, path, &length)) return {};
    return std::string(path, length);
}

std::optional<std::wstring> finalWidePathOf(HANDLE opened) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(opened, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        const bool whole = length < path.size();
        path.resize(length);
        if (whole) return path;
    }
}

std::optional<std::string> finalPathOf(HANDLE opened) {
    const std::optional<std::wstring> path = finalWidePathOf(opened);
    if (!path) return std::nullopt;
    return narrowed(*path);
}

std::optional<std::string> finalPathOf(const std::string& path) {
    const FileHandle file(orNull(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    if (!file) return std::nullopt;
    return finalPathOf(file.get());
}

bool samePath(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool samePath(std::string_view a, std::string_view b) {
    return samePath(widened(std::string(a)), widened(std::string(b)));
}

bool isSameFile(const std::string& path, const std::string& finalPath) {
    const std::optional<std::string> final = finalPathOf(path);
    return final && samePath(*final, finalPath);
}

}  // namespace velko
