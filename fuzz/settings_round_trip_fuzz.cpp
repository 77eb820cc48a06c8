// Six settings with any values but line breaks, written as the save writes them and read back
// as the load reads them: every value comes back, unless an earlier line holds its key.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/settings_lines.h"
#include "config/text_lines.h"
#include "config/value_rule.h"
#include "fuzz_support.h"

using velko::fuzz::oneLineText;
using velko::fuzz::require;

namespace {

std::string fileOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text.append(line).append("\r\n");
    return text;
}

// The first line of the file that holds key, as loading finds it.
std::string lineWithKey(std::string_view fileText, std::string_view key) {
    std::string found;
    velko::forEachLine(fileText, [&](std::string_view line) {
        if (!velko::holdsKey(line, key)) return true;
        found = line;
        return false;
    });
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> values;
    std::vector<std::string> lines;
    for (const auto& setting : velko::kSettingKeys) {
        values.push_back(oneLineText(input, 64));
        lines.push_back(velko::settingsLine(setting, values.back()));
        require(!velko::holdsLineBreak(lines.back()), "a settings line is one line");
    }
    const std::string file = fileOf(lines);
    require(velko::fuzz::linesOf(file) == lines, "the file reads back as the lines written");

    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view key = velko::kSettingKeys[i].key;
        require(velko::holdsKey(lines[i], key), "a settings line holds its own key");
        size_t holder = 0;
        while (!velko::holdsKey(lines[holder], key)) ++holder;
        const std::string value = velko::valueOf(lineWithKey(file, key));
        require(value == (holder == i ? values[i] : velko::valueOf(lines[holder])),
                "a value comes back from the first line that holds its key");
    }

    const std::string directory = oneLineText(input, 64);
    const std::string pointer = fileOf({velko::pointerLine(directory)});
    require(velko::valueOf(lineWithKey(pointer, velko::kPointerKey)) == directory,
            "the pointer file gives its directory back");
    return 0;
}
