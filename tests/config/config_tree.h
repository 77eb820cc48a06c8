#pragma once
// A configuration's files in memory: each path with its bytes, or with nothing for a file that
// cannot be read. A directory is there when a file lies below it; it lists its names backwards,
// so that a reader that does not sort them shows.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/apache_config.h"

namespace velko::testing {

class ConfigTree final : public ConfigFiles {
public:
    explicit ConfigTree(std::map<std::string, std::optional<std::string>> files) : files_(std::move(files)) {}

    std::optional<std::string> read(const std::string& path) const override {
        const auto found = files_.find(path);
        return found == files_.end() ? std::nullopt : found->second;
    }

    std::optional<std::vector<std::string>> list(const std::string& directory) const override {
        std::set<std::string> names;
        const std::string prefix = directory + "\\";
        for (const auto& entry : files_) {
            if (entry.first.compare(0, prefix.size(), prefix) != 0) continue;
            const std::string below = entry.first.substr(prefix.size());
            names.insert(below.substr(0, below.find('\\')));
        }
        if (names.empty()) return std::nullopt;
        return std::vector<std::string>(names.rbegin(), names.rend());
    }

private:
    std::map<std::string, std::optional<std::string>> files_;
};

}  // namespace velko::testing
