#pragma once
// The versions that loading shows, taken from the lines it reads.
#include <optional>
#include <string>
#include <string_view>

namespace velko {

// A change log lists its entries newest first, each under a heading: a line on which a version
// number (digits with a dot: "1.7.3", "1.5.4a", "1.7.3-beta2") follows "XAMPP" (and perhaps the
// word "version") or a date ("20. December 2009"). Gives that version and the rest of the line,
// "1.7.1 Beta5", trimmed; nothing for a line that is no heading.
std::optional<std::string> xamppVersionOf(std::string_view changeLogLine);

// `$version = "1.0";` gives "1.0": the text between the first pair of matching quotes, double or
// single, after the "="; nothing without such a pair.
std::optional<std::string> velkoVersionOf(std::string_view indexLine);

}  // namespace velko
