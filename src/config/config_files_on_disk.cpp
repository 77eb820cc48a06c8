#include "config/config_files_on_disk.h"

#include "config/mod_file.h"
#include "win/failure.h"
#include "win/file_io.h"

namespace velko {

std::optional<std::string> ConfigFilesOnDisk::read(const std::string& path) const {
    try {
        return readWholeFile(path);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::string>> ConfigFilesOnDisk::list(const std::string& directory) const {
    return entryNames(directory);
}

}  // namespace velko
