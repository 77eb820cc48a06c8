// The version rules of loading on any line: a version, where there is one, is a quoted or
// trailing part of the line.
#include <cstdint>
#include <optional>
#include <string>

#include "config/versions.h"
#include "fuzz_support.h"

using velko::fuzz::endsWith;
using velko::fuzz::require;

namespace {

constexpr std::string_view kBlanks = " \t";

void checkXamppVersion(std::string_view line) {
    const std::optional<std::string> version = velko::xamppVersionOf(line);
    if (!version) return;
    require(line.find(*version) != std::string_view::npos, "the version is a part of the line");
    require(endsWith(line.substr(0, line.find_last_not_of(kBlanks) + 1), *version),
            "the version runs to the end of the line, trailing blanks aside");
    require(!version->empty() && (*version)[0] >= '0' && (*version)[0] <= '9', "the version begins with a digit");
    require(version->find('.') != std::string::npos, "the version number holds a dot");
    require(line.substr(line.find_first_not_of(kBlanks))[0] != '#', "a comment is no heading");
}

void checkVelkoVersion(std::string_view line) {
    const std::optional<std::string> version = velko::velkoVersionOf(line);
    const size_t equals = line.find('=');
    if (!version) return;
    require(equals != std::string_view::npos, "a version follows an equals sign");
    const std::string_view after = line.substr(equals + 1);
    const size_t open = after.find_first_of("\"'");
    require(open != std::string_view::npos, "a version is quoted");
    const char quote = after[open];
    require(after.substr(open + 1, version->size()) == *version, "the version follows the first quote");
    require(after.size() > open + 1 + version->size() && after[open + 1 + version->size()] == quote,
            "the version ends at the matching quote");
    require(version->find(quote) == std::string::npos, "the version holds no quote of its kind");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    checkXamppVersion(line);
    checkVelkoVersion(line);
    return 0;
}
