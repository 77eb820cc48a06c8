#pragma once
// How Apache reads its configuration, in the one place that knows it; the load, the save and the
// check of a new port ask it. A physical line that ends in a backslash goes on in the next one,
// comments included. A line whose first character other than blanks is "#" is a comment. A
// directive is the first word of a line, letter case aside, and its arguments are the words
// after it, quoted or not. "${NAME}" stands for the value of the last "Define NAME value" read
// before it. "Include" and "IncludeOptional" read other files in place, relative to the server
// root. A physical line ends only at LF, a CR just before it belonging to the line end; any other
// CR is a byte of its line.
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
    std::string_view terminator;  // of its last physical line: "\r\n", "\n", or empty at the end
};

// Calls onLine for each line of a file's text, in order, until it returns false. The views last
// for the call.
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

// A folder as the reader finds it: what it is, the same whichever path (a link too) reaches it,
// and the names in it, "." and ".." aside, in any order.
struct ConfigFolder {
    std::string identity;
    std::vector<std::string> names;
};

// The files of a configuration as the reader finds them: on the disk, or in memory for tests.
class ConfigFiles {
public:
    virtual ~ConfigFiles() = default;
    // The bytes of a file; nothing when there is no such file, it cannot be read or it holds more
    // than maxBytes.
    virtual std::optional<std::string> read(const std::string& path, size_t maxBytes) const = 0;
    // Nothing when there is no such folder, it cannot be listed or it holds more than maxNames names.
    virtual std::optional<ConfigFolder> folder(const std::string& path, size_t maxNames) const = 0;
};

// Apache gives up on includes nested deeper than this.
inline constexpr int kMaxIncludeDepth = 128;

// The configurator's own bounds on one reading, which runs with administrator rights over folders
// that others may write: it ends within a second on any tree. A reading opens at most
// kMaxConfigOpens files and folders (whether they are there or not), reads at most kMaxConfigBytes
// of included files and takes at most kMaxConfigNames names from folders, all in all. What lies
// beyond is passed over as an unreadable file is.
inline constexpr size_t kMaxConfigOpens = 512;
inline constexpr size_t kMaxConfigBytes = size_t{4} << 20;
inline constexpr size_t kMaxConfigNames = 16384;

// A line of the configuration that is no comment, its variables replaced, and the file it stands
// in; false stops the reading.
using OnDirective = std::function<bool(const std::string& file, const ConfigLine& line)>;

// Reads the configuration whose main file (a Windows path) holds mainText, and every file it
// includes, in the order Apache reads them, within the bounds above. An included path is relative
// to the server root: the last "ServerRoot" read before it, or, where that directory does not
// exist, the folder above the main file's. A path without a drive lies on the main file's drive.
// Wildcards ("*", "?") in the file name take the matching files, in its folder names the matching
// folders, in sorted order; a folder, all of its files and folders, each folder once in a reading
// however many paths (links) lead to it. A network path ("\\host\share", "\\?\UNC\"), a device
// path ("\\.\", "\\?\" but for a drive) or a device name ("NUL", "COM1") is never opened. A
// missing or unreadable file, a file that includes itself and includes nested too deep end that
// branch only.
void forEachDirective(const ConfigFiles& files, const std::string& mainFile, std::string_view mainText,
                      const OnDirective& onDirective);

}  // namespace velko
