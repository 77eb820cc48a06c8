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

MappedFile::MappedFile(const std::string& path) {
    const FileHandle file(orNull(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) throw lastErrorFailure(path);
    size_ = static_cast<size_t>(size.QuadPart);
    if (size_ == 0) return;  // an empty file cannot be mapped
    // The view keeps the file open and mapped after both handles are closed.
    const FileHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping) view_.reset(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view_) throw lastErrorFailure(path);
}

}  // namespace velko
