#include "aids/popup_menus.h"

#include "aids/preset_lines.h"

namespace velko {
namespace {

MenuHandle newPopupMenu() {
    MenuHandle menu(CreatePopupMenu());
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_NOTIFYBYPOS;
    SetMenuInfo(menu.get(), &info);
    return menu;
}

// A menu caption of "-" stands for a separator line, whoever gave it.
constexpr std::string_view kSeparatorCaption = "-";

}  // namespace

MenuHandle buildPresetMenu(const std::vector<std::string>& presetStore) {
    MenuHandle menu = newPopupMenu();
    for (const std::string& line : presetStore) {
        const std::optional<std::string> caption = presetCaption(line);
        if (caption && *caption != kSeparatorCaption) AppendMenuA(menu.get(), MF_STRING, 0, caption->c_str());
        else AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    }
    return menu;
}

const std::vector<SegmentPreset> kSegmentPresets{
    {"Unlimited (0)", "0"},
    {"1 minute (60)", "60"},
    {"2 minutes (120)", "120"},
    {"2.7 minutes (162) - DEFAULT", "162"},
    {"3 minutes (180)", "180"},
    {"5 minutes (240)", "240"},
    {"10 minutes (600)", "600"},
    {"30 minutes (1800)", "1800"},
    {"1 hour (3600)", "3600"},
};

MenuHandle buildSegmentMenu() {
    MenuHandle menu = newPopupMenu();
    for (const SegmentPreset& preset : kSegmentPresets)
        AppendMenuA(menu.get(), MF_STRING, 0, std::string(preset.caption).c_str());
    return menu;
}

}  // namespace velko
