#pragma once
// The two pop-up menus of presets. Their items report their position when chosen, so that any
// number of presets can be told apart.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win/handles.h"

namespace velko {

// The encoder presets: one item per line of the store, in store order; a line without TAB, or
// whose caption is "-", is a separator at its place. Built once; later growth of the store does not change it.
MenuHandle buildPresetMenu(const std::vector<std::string>& presetStore);

struct SegmentPreset {
    std::string_view caption;
    std::string_view seconds;
};

// The segment lengths offered, in menu order.
extern const std::vector<SegmentPreset> kSegmentPresets;

MenuHandle buildSegmentMenu();

}  // namespace velko
