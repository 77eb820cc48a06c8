#include "aids/preset_lines.h"

#include "config/text_lines.h"
#include "ui_text.h"

namespace velko {

bool isDefaultPreset(std::string_view line) {
    return containsIgnoringCase(line, "mencoder hq, 612br");
}

std::optional<std::string> presetCaption(std::string_view line) {
    const size_t firstTab = line.find('\t');
    if (firstTab == std::string_view::npos) return std::nullopt;
    std::string caption(line.substr(0, firstTab));
    if (isDefaultPreset(line)) caption.append(text::kDefaultPresetMarker);
    return caption;
}

std::string presetOptions(std::string_view line) {
    const size_t lastTab = line.rfind('\t');
    if (lastTab == std::string_view::npos) return std::string(line);
    return std::string(line.substr(lastTab + 1));
}

}  // namespace velko
