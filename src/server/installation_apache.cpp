#include "server/installation_apache.h"

#include <windows.h>

#include "win/handles.h"
#include "win/program_paths.h"

namespace velko {
namespace {

FileHandle opened(const std::string& path, DWORD flags) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return FileHandle(orNull(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr)));
}

bool isOrdinaryFile(const FileHandle& opened) {
    BY_HANDLE_FILE_INFORMATION about{};
    return GetFileInformationByHandle(opened.get(), &about) &&
           (about.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

}  // namespace

std::optional<std::string> installationApache(const std::string& xamppDirectory) {
    const std::string program = xamppDirectory + std::string(kApacheProgram);
    // The installation's own folder may be a link; below it, nothing may be.
    const FileHandle file = opened(program, FILE_FLAG_OPEN_REPARSE_POINT);
    const FileHandle top = opened(xamppDirectory, FILE_FLAG_BACKUP_SEMANTICS);
    if (!file || !top || !isOrdinaryFile(file)) return std::nullopt;
    const std::optional<std::string> fileLies = finalPathOf(file.get());
    std::optional<std::string> topLies = finalPathOf(top.get());
    if (!fileLies || !topLies || fileLies->starts_with("\\\\?\\UNC\\")) return std::nullopt;
    if (!topLies->ends_with('\\')) *topLies += '\\';
    if (!samePath(*fileLies, *topLies + std::string(kApacheProgram))) return std::nullopt;
    return program;
}

}  // namespace velko
