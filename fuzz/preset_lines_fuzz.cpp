// Preset lines of any bytes: the caption is the name before the first TAB, the options follow
// the last TAB, and the default marker follows the name exactly when the line names the default.
#include <cstdint>
#include <optional>
#include <string>

#include "aids/preset_lines.h"
#include "config/text_lines.h"
#include "fuzz_support.h"

using velko::fuzz::endsWith;
using velko::fuzz::require;

namespace {

void checkCaption(std::string_view line) {
    const std::optional<std::string> caption = velko::presetCaption(line);
    const size_t firstTab = line.find('\t');
    require(caption.has_value() == (firstTab != std::string_view::npos),
            "a line has a caption exactly when it holds a TAB");
    if (!caption) return;
    const std::string_view name = line.substr(0, firstTab);
    const bool isDefault = velko::asciiLower(line).find("mencoder hq, 612br") != std::string::npos;
    require(velko::isDefaultPreset(line) == isDefault, "the default test ignores letter case");
    const std::string expected = std::string(name) + (isDefault ? " (DEFAULT)" : "");
    require(*caption == expected, "the caption is the name, marked when default");
}

void checkOptions(std::string_view line) {
    const std::string options = velko::presetOptions(line);
    require(endsWith(line, options), "the options end the line");
    require(options.find('\t') == std::string::npos, "the options hold no TAB");
    require(options.size() == line.size() || line[line.size() - options.size() - 1] == '\t',
            "the options follow the last TAB, or are the whole line without one");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    checkCaption(line);
    checkOptions(line);
    return 0;
}
