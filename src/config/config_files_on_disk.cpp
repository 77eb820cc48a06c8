#include "config/config_files_on_disk.h"

#include <windows.h>

#include <array>
#include <cstddef>

#include "win/handles.h"
#include "win/held_folder.h"
#include "win/program_paths.h"

namespace velko {
namespace {

FileHandle opened(const std::string& path, DWORD flags) {
    return FileHandle(orNull(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, flags, nullptr)));
}

// A file or folder of a disk, not a device, a pipe or a console.
bool isOnDisk(HANDLE handle, bool folder) {
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &information) &&
           ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// The path the system resolved the folder's handle to, links followed; empty where it will not tell.
std::string identityOf(HANDLE folder) { return utf8Of(finalWidePathOf(folder).value_or(std::wstring())); }

// A name the system code page cannot hold could not be opened again by it: nothing.
std::optional<std::string> narrowName(const wchar_t* name, DWORD bytes) {
    const int length = static_cast<int>(bytes / sizeof(wchar_t));
    std::string narrow(static_cast<size_t>(length) * 2, '\0');
    BOOL replaced = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, length, narrow.data(),
                                         static_cast<int>(narrow.size()), nullptr, &replaced);
    if (size <= 0 || replaced) return std::nullopt;
    narrow.resize(static_cast<size_t>(size));
    return narrow;
}

// Adds the names of one batch of entries; false when they would be more than maxNames.
bool addNames(const std::byte* entries, size_t maxNames, std::vector<std::string>& names) {
    for (;;) {
        const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(entries);
        const std::optional<std::string> name = narrowName(entry->FileName, entry->FileNameLength);
        if (name && *name != "." && *name != "..") {
            if (names.size() == maxNames) return false;
            names.push_back(*name);
        }
        if (entry->NextEntryOffset == 0) return true;
        entries += entry->NextEntryOffset;
    }
}

}  // namespace

std::optional<std::string> ConfigFilesOnDisk::read(const std::string& path, size_t maxBytes) const {
    const FileHandle file = opened(path, FILE_FLAG_SEQUENTIAL_SCAN);
    LARGE_INTEGER size{};
    if (!file || !isOnDisk(file.get(), false) || !GetFileSizeEx(file.get(), &size) ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return std::nullopt;
    // A file that grows meanwhile is read to the size it had.
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    for (DWORD got = 1; got != 0 && filled < bytes.size(); filled += got)
        if (!ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &got, nullptr))
            return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

std::optional<ConfigFolder> ConfigFilesOnDisk::folder(const std::string& path, size_t maxNames) const {
    const FileHandle handle = opened(path, FILE_FLAG_BACKUP_SEMANTICS);
    if (!handle || !isOnDisk(handle.get(), true)) return std::nullopt;
    ConfigFolder folder{identityOf(handle.get()), {}};
    if (folder.identity.empty()) return std::nullopt;
    alignas(FILE_ID_BOTH_DIR_INFO) std::array<std::byte, 64 * 1024> entries;
    for (auto batch = FileIdBothDirectoryRestartInfo;
         GetFileInformationByHandleEx(handle.get(), batch, entries.data(), static_cast<DWORD>(entries.size()));
         batch = FileIdBothDirectoryInfo)
        if (!addNames(entries.data(), maxNames, folder.names)) return std::nullopt;
    if (GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
    return folder;
}

}  // namespace velko
