#include "win/program_paths.h"

#include "win/handles.h"

namespace velko {

std::string imageOf(DWORD processId) {
    const ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    char path[MAX_PATH * 2];
    DWORD length = ARRAYSIZE(path);
    if (!QueryFullProcessImageNameA(process.get(), 0, path, &length)) return {};
    return std::string(path, length);
}

std::optional<std::string> finalPathOf(const std::string& path) {
    const FileHandle file(orNull(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    if (!file) return std::nullopt;
    std::string final(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleA(file.get(), final.data(), static_cast<DWORD>(final.size()), 0);
        if (length == 0) return std::nullopt;
        if (length < final.size()) return final.substr(0, length);
        final.resize(length);
    }
}

bool isSameFile(const std::string& path, const std::string& finalPath) {
    const std::optional<std::string> final = finalPathOf(path);
    return final && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, final->c_str(), -1, finalPath.c_str(), -1) ==
                        CSTR_EQUAL;
}

}  // namespace velko
