#pragma once
// How Apache reads its configuration, in the one place that knows it; the load, the save and the
// check of a new port ask it. A physical line that ends in a backslash goes on in the next one,
// comments included. A line whose first character other than blanks is "#" is a comment. A
// directive is the first word of a line, letter case aside, and its arguments are the words
// after it, quoted or not. "${NAME}" stands for the value of the last "Define NAME value" read
// before it. "Include" and "IncludeOptional" read other files in place, relative to the server
// root.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velko {

// A line as Apache reads it: one physical line, or several of which all but the last end in a
// backslash.
struct ConfigLine {
    std::string_view text;        // the physical lines joined, without their continuing backslashes
    size_t number = 0;            // of its first physical line, from 1
    size_t begin = 0, end = 0;    // its bytes in the file, less the terminator of its last physical line
    std::string_view terminator;  // of its last physical line: "\r\n", "\r", "\n", or empty at the end
};

// Calls onLine for each line of a file's text, in order, until it returns false. Physical lines
// end at CR LF, CR or LF. The views last for the call.
void forEachConfigLine(std::string_view text, const std::function<bool(const ConfigLine&)>& onLine);

// A word of a directive line: its value, without its quotes and their escapes, and the position
// in the line just after it.
struct ConfigWord {
    std::string value;
    size_t end = 0;
};

// The words of a line: the directive's name, then its arguments; none for a comment or a blank line.
std::vector<ConfigWord> wordsOf(std::string_view line);

// Whether the line is a directive of that name, letter case aside; a quick test of the first word.
bool isDirective(std::string_view line, std::string_view name);

// The files of a configuration as the reader finds them: on the disk, or in memory for tests.
class ConfigFiles {
public:
    virtual ~ConfigFiles() = default;
    // The bytes of a file; nothing when there is no such file or it cannot be read.
    virtual std::optional<std::string> read(const std::string& path) const = 0;
    // The names in a directory, "." and ".." aside, in any order; nothing when there is no such directory.
    virtual std::optional<std::vector<std::string>> list(const std::string& directory) const = 0;
};

// Apache gives up on includes nested deeper than this.
inline constexpr int kMaxIncludeDepth = 128;

// A line of the configuration that is no comment, its variables replaced, and the file it stands
// in; false stops the reading.
using OnDirective = std::function<bool(const std::string& file, const ConfigLine& line)>;

// Reads the configuration whose main file (a Windows path) holds mainText, and every file it
// includes, in the order Apache reads them. An included path is relative to the server root: the
// last "ServerRoot" read before it, or, where that directory does not exist, the folder above
// the main file's. A path without a drive lies on the main file's drive. A wildcard in the file
// name takes the matching files in sorted order; a directory, all of its files. A missing or
// unreadable file, a file that includes itself and includes nested too deep end that branch only.
void forEachDirective(const ConfigFiles& files, const std::string& mainFile, std::string_view mainText,
                      const OnDirective& onDirective);

}  // namespace velko
