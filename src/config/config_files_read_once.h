#pragma once
// The files of a configuration, each read once: however often a reading asks for a file, it gets
// the bytes of the first read, so that what a save checks is what it rewrites.
#include <map>
#include <optional>
#include <string>

#include "config/apache_config.h"

namespace velko {

class ConfigFilesReadOnce final : public ConfigFiles {
public:
    explicit ConfigFilesReadOnce(const ConfigFiles& files) : files_(files) {}

    std::optional<std::string> read(const std::string& path, size_t maxBytes) const override {
        auto found = read_.find(path);
        if (found == read_.end()) found = read_.emplace(path, files_.read(path, maxBytes)).first;
        return found->second;
    }
    std::optional<ConfigFolder> folder(const std::string& path, size_t maxNames) const override {
        return files_.folder(path, maxNames);
    }

    // Every file asked for, by path, with its bytes or nothing when it could not be read.
    const std::map<std::string, std::optional<std::string>>& filesRead() const { return read_; }

private:
    const ConfigFiles& files_;
    mutable std::map<std::string, std::optional<std::string>> read_;
};

}  // namespace velko
