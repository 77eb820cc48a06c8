#pragma once
// Apache's configuration files on this machine's disks, as the reading of the whole configuration
// takes them (apache_config.h): read, never written.
#include "config/apache_config.h"

namespace velko {

// A file is read only when it is an ordinary file no larger than asked, looked at before a byte is
// read. A folder is listed through the handle that names it, and known by that handle's final
// path, so that a link to a folder shows as the folder it leads to.
class ConfigFilesOnDisk final : public ConfigFiles {
public:
    std::optional<std::string> read(const std::string& path, size_t maxBytes) const override;
    std::optional<ConfigFolder> folder(const std::string& path, size_t maxNames) const override;
};

}  // namespace velko
