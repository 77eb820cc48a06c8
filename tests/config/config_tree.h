#pragma once
// A configuration's files in memory: each path with its bytes, or with nothing for a file that
// cannot be read, and links, each a folder's path that leads to another folder. A folder is there
// when a file or a link lies below it; it lists its names backwards, so that a reader that does
// not sort them shows.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/apache_config.h"

namespace velko::testing {

class ConfigTree final : public ConfigFiles {
public:
    using Files = std::map<std::string, std::optional<std::string>>;
    using Links = std::map<std::string, std::string>;

    explicit ConfigTree(Files files, Links links = {}) : files_(std::move(files)), links_(std::move(links)) {}

    std::optional<std::string> read(const std::string& path, size_t maxBytes) const override {
        ++opened;
        const auto found = files_.find(resolved(path));
        if (found == files_.end() || !found->second || found->second->size() > maxBytes) return std::nullopt;
        return found->second;
    }

    std::optional<ConfigFolder> folder(const std::string& path, size_t maxNames) const override {
        ++opened;
        const std::string directory = resolved(path), prefix = directory + "\\";
        std::set<std::string> names;
        const auto addBelow = [&](const std::string& entry) {
            if (entry.starts_with(prefix)) names.insert(entry.substr(prefix.size(), entry.find('\\', prefix.size()) - prefix.size()));
        };
        for (const auto& entry : files_) addBelow(entry.first);
        for (const auto& entry : links_) addBelow(entry.first);
        if (names.empty() || names.size() > maxNames) return std::nullopt;
        return ConfigFolder{directory, std::vector<std::string>(names.rbegin(), names.rend())};
    }

    mutable size_t opened = 0;  // files and folders, whether they are there or not

private:
    // The path with every link on its way replaced by the folder it leads to.
    std::string resolved(const std::string& path) const {
        for (const auto& [link, target] : links_)
            if (path == link || path.starts_with(link + "\\")) return resolved(target + path.substr(link.size()));
        return path;
    }

    Files files_;
    Links links_;
};

}  // namespace velko::testing
