#pragma once
// modFile: the file operations of the configurator. Each call opens its file, does its work
// and closes it; every failure reaches the caller as a Failure.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velko {

// The first line that holds key and is no comment, unchanged; empty when there is none.
// A file that cannot be opened is Failure 53.
std::string GetLineWithKey(const std::string& path, std::string_view key);

// GetLineWithKey for several keys in one pass over the file, which ends once each key is found:
// the lines in the order of the keys.
std::vector<std::string> GetLinesWithKeys(const std::string& path, std::span<const std::string_view> keys);

// Appends one line and CR LF; a path that passes no first-file test is created or emptied first.
void AppendLine(const std::string& path, std::string_view line);

// The first-file test: the pattern (wildcards allowed; a trailing "\" searches that directory;
// the empty text the current one) matches at least one file that is no directory, hidden or
// system file.
bool FirstFileExists(const std::string& pattern);

// The whole content of a file, as bytes.
std::string readWholeFile(const std::string& path);

// The names of the subdirectories of a directory, hidden ones aside, sorted without regard to
// letter case. A directory that cannot be listed is a failure.
std::vector<std::string> subdirectoryNames(const std::string& directory);

}  // namespace velko
