#pragma once
// The two pop-up menus of presets. Their items report their position when chosen, so that any
// number of presets can be told apart.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/handles.h"

namespace velko {

// The encoder presets: one item per line of the store, in store order; a line without TAB, or
// whose caption is "-", is a separator at its place. Built once; later growth of the store does
// not change it. A store longer than one group is offered in submenus of a group each: the
// platform's menus take time in proportion to their length for every item added.
class PresetMenu {
public:
    static constexpr size_t kGroupSize = 256;

    PresetMenu() = default;
    explicit PresetMenu(const std::vector<std::string>& presetStore);

    HMENU handle() const { return root_.get(); }
    // The store entry that the item at a position of this menu, or of one of its groups, stands for.
    std::optional<size_t> presetAt(HMENU menu, int position) const;

private:
    MenuHandle root_;  // destroys its groups with itself
    std::vector<HMENU> groups_;
};

// The segment lengths of text::kSegmentPresets, in its order.
MenuHandle buildSegmentMenu();

}  // namespace velko
