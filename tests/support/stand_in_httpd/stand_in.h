#pragma once
// A stand-in for Apache's httpd.exe, built with the tests and never shipped. It answers as Apache
// 2.4 for Windows does at the points the configurator uses; each mode has a file of its own.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "config/apache_config.h"

namespace velko::stand_in {

using Arguments = std::vector<std::string>;

// The word after the option, as in "-f file"; empty when there is none.
std::string valueAfter(const Arguments& arguments, std::string_view option);

// The configuration's files as Apache finds them on the disk.
class FilesOnDisk final : public ConfigFiles {
public:
    std::optional<std::string> read(const std::string& path) const override {
        std::ifstream file(path, std::ios::binary);
        if (!file) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    std::optional<std::vector<std::string>> list(const std::string& directory) const override {
        std::error_code failed;
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory, failed))
            names.push_back(entry.path().filename().string());
        return failed ? std::nullopt : std::optional(names);
    }
};

// No mode, or "-k runservice": the server itself, as a console program or as a service.
int runServer(const Arguments& arguments);

}  // namespace velko::stand_in
