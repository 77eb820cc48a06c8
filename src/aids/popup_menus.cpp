#include "aids/popup_menus.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "aids/preset_lines.h"
#include "ui_text.h"

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


void appendPresets(HMENU menu, std::span<const std::string> lines) {
    for (const std::string& line : lines) {
        const std::optional<std::string> caption = presetCaption(line);
        if (caption && *caption != kSeparatorCaption) AppendMenuA(menu, MF_STRING, 0, caption->c_str());
        else AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
}

std::string groupCaption(size_t first, size_t last) {
    char caption[64];
    std::snprintf(caption, sizeof caption, text::kPresetGroupFormat.data(), first, last);
    return caption;
}

}  // namespace

PresetMenu::PresetMenu(const std::vector<std::string>& presetStore) : root_(newPopupMenu()) {
    const std::span<const std::string> lines(presetStore);
    if (lines.size() <= kGroupSize) {
        appendPresets(root_.get(), lines);
        return;
    }
    for (size_t first = 0; first < lines.size(); first += kGroupSize) {
        const size_t count = std::min(kGroupSize, lines.size() - first);
        const HMENU group = newPopupMenu().release();
        appendPresets(group, lines.subspan(first, count));
        AppendMenuA(root_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(group),
                    groupCaption(first + 1, first + count).c_str());
        groups_.push_back(group);
    }
}

std::optional<size_t> PresetMenu::presetAt(HMENU menu, int position) const {
    if (!menu || position < 0) return std::nullopt;
    if (menu == root_.get() && groups_.empty()) return static_cast<size_t>(position);
    for (size_t group = 0; group < groups_.size(); ++group)
        if (groups_[group] == menu) return group * kGroupSize + static_cast<size_t>(position);
    return std::nullopt;
}

MenuHandle buildSegmentMenu() {
    MenuHandle menu = newPopupMenu();
    for (const text::SegmentPreset& preset : text::kSegmentPresets)
        AppendMenuA(menu.get(), MF_STRING, 0, std::string(preset.caption).c_str());
    return menu;
}

}  // namespace velko
