#pragma once
// The lines of the encoder preset file: name, TAB, [description, TAB,] mencoder options.
#include <optional>
#include <string>
#include <string_view>

namespace velko {

// A line is a default preset when it holds "mencoder hq, 612br" anywhere, letter case aside.
bool isDefaultPreset(std::string_view line);

// The pop-up caption for a line: the text before its first TAB, with the default marker
// appended for a default preset. A line without TAB has none: it shows as a separator.
std::optional<std::string> presetCaption(std::string_view line);

// The options a choice puts into the field: everything after the last TAB.
std::string presetOptions(std::string_view line);

}  // namespace velko
