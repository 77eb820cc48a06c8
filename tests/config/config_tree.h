#pragma once
// A configuration's files in memory: each path with its bytes, or with nothing for a file that
// cannot be read, and links, each a folder's path that leads to another folder. A folder is there
// when a file or a link lies below it; it lists its names backwards, so that a reader that does
// not sort them shows.
#include <algorithm>
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
        const auto found = files_.find(resolved(path));
        if (found == files_.end() || !found->second || found->second->size() > maxBytes) return std::nullopt;
        return found->second;
    }

    std::optional<ConfigFolder> folder(const std::string& path, size_t maxNames) const override {
        const std::string directory = resolved(path);
        std::set<std::string> names;
        addNamesBelow(files_, directory, names);
        addNamesBelow(links_, directory, names);
        if (names.empty() || names.size() > maxNames) return std::nullopt;
        return ConfigFolder{directory, std::vector<std::string>(names.rbegin(), names.rend())};
    }

private:
    template <class Entries>
    static void addNamesBelow(const Entries& entries, const std::string& directory, std::set<std::string>& names) {
        const std::string prefix = directory + "\\";
        for (auto entry = entries.lower_bound(prefix); entry != entries.end() && entry->first.starts_with(prefix); ++entry) {
            const std::string below = entry->first.substr(prefix.size());
            names.insert(below.substr(0, below.find('\\')));
        }
    }

    // The path with every link on its way replaced by the folder it leads to.
    std::string resolved(std::string path) const {
        for (int hops = 0; hops < 64; ++hops) {
            const auto link = std::find_if(links_.begin(), links_.end(), [&](const auto& l) {
                return path == l.first || path.starts_with(l.first + "\\");
            });
            if (link == links_.end()) break;
            path = link->second + path.substr(link->first.size());
        }
        return path;
    }

    Files files_;
    Links links_;
};

}  // namespace velko::testing
