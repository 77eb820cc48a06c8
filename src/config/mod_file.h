#pragma once
// modFile: the file operations of the configurator. Each call opens its file, does its work
// and closes it; every failure reaches the caller as a Failure.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/text_lines.h"

namespace velko {

// The first line that holds key and is no comment, unchanged; empty when there is none.
// A file that cannot be opened is Failure 53.
std::string GetLineWithKey(const std::string& path, std::string_view key);

using LineTest = std::function<bool(std::string_view line)>;

// For each test the first line that passes it, in one pass over the file that ends once each
// has been found; empty for a test that no line passes. A file that cannot be opened is
// Failure 53.
std::vector<std::string> FirstLinesWhere(const std::string& path, LineEnds ends, std::span<const LineTest> tests);

// Appends one line and CR LF; a path that passes no first-file test is created or emptied first.
void AppendLine(const std::string& path, std::string_view line);

// The first-file test: the pattern (wildcards allowed; a trailing "\" searches that directory;
// the empty text the current one) matches at least one file that is no directory, hidden or
// system file.
bool FirstFileExists(const std::string& pattern);

// Whether two names are equal letter case aside, in the system code page.
bool equalsIgnoringCaseInCodePage(std::string_view a, std::string_view b);

// The names of the subdirectories of a directory, hidden ones aside, sorted without regard to
// letter case. A directory that cannot be listed is a failure.
std::vector<std::string> subdirectoryNames(const std::string& directory);

}  // namespace velko
