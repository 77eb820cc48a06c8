#pragma once
// Apache's configuration files on this machine's disks, as the reading of the whole configuration
// takes them (apache_config.h): read, never written.
#include "config/apache_config.h"

namespace velko {

class ConfigFilesOnDisk final : public ConfigFiles {
public:
    std::optional<std::string> read(const std::string& path) const override;
    std::optional<std::vector<std::string>> list(const std::string& directory) const override;
};

}  // namespace velko
