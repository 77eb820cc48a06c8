#include "config/settings_lines.h"

namespace velko {
namespace {

std::string keyedLine(std::string_view key, std::string_view padding, std::string_view value) {
    std::string line;
    line.reserve(key.size() + padding.size() + 2 + value.size());
    line.append(key).append(padding).append("= ").append(value);
    return line;
}

}  // namespace

std::string settingsLine(const SettingKey& setting, std::string_view value) {
    return keyedLine(setting.key, setting.padding, value);
}

std::string pointerLine(std::string_view xamppDirectory) {
    return keyedLine(kPointerKey, "\t", xamppDirectory);
}

}  // namespace velko
