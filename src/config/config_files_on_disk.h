#pragma once
// The files of Apache's configuration as the disk holds them.
#include <optional>
#include <string>
#include <vector>

#include "config/apache_config.h"

namespace velko {

class ConfigFilesOnDisk final : public ConfigFiles {
public:
    std::optional<std::string> read(const std::string& path) const override;
    std::optional<std::vector<std::string>> list(const std::string& directory) const override;
};

}  // namespace velko
