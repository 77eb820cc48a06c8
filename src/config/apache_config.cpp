#include "config/apache_config.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "config/text_lines.h"

namespace velko {
namespace {

constexpr size_t npos = std::string_view::npos;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

size_t skipSpaces(std::string_view line, size_t at) {
    while (at < line.size() && isSpace(line[at])) ++at;
    return at;
}

bool isBlankOrComment(std::string_view line) {
    const size_t start = skipSpaces(line, 0);
    return start == line.size() || line[start] == '#';
}

// A quoted word ends at its closing quote; a backslash escapes that quote or another backslash.
ConfigWord quotedWordAt(std::string_view line, size_t at) {
    const char quote = line[at++];
    ConfigWord word;
    while (at < line.size() && line[at] != quote) {
        if (line[at] == '\\' && at + 1 < line.size() && (line[at + 1] == quote || line[at + 1] == '\\')) ++at;
        word.value += line[at++];
    }
    word.end = at < line.size() ? at + 1 : at;
    return word;
}

ConfigWord wordAt(std::string_view line, size_t at) {
    if (line[at] == '"' || line[at] == '\'') return quotedWordAt(line, at);
    size_t end = at;
    while (end < line.size() && !isSpace(line[end])) ++end;
    return {std::string(line.substr(at, end - at)), end};
}

// Apache's wildcards on Windows: "*" and "?", letter case aside; a leading "." is matched only by
// a "." of the pattern, so that "*" passes over hidden files.
bool matchesWildcard(std::string_view pattern, std::string_view name) {
    if (!name.empty() && name.front() == '.' && (pattern.empty() || pattern.front() != '.')) return false;
    size_t p = 0, n = 0, star = npos, resumed = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || equalsIgnoringCase(pattern.substr(p, 1), name.substr(n, 1)))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resumed = n;
        } else if (star != npos) {
            p = star + 1;
            n = ++resumed;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string folderOf(std::string_view path) {
    const size_t slash = path.find_last_of('\\');
    return std::string(slash == npos ? std::string_view() : path.substr(0, slash));
}

// "C:", or the "\\server\share" of a network path; empty for a path without a drive.
std::string driveOf(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    if (path.substr(0, 2) != "\\\\") return {};
    const size_t server = path.find('\\', 2);
    return std::string(path.substr(0, server == npos ? npos : path.find('\\', server + 1)));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Windows opens the device, not a file, for these names in any folder, whatever follows a dot.
bool isDeviceName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".:"));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    constexpr std::array<std::string_view, 6> kDevices{"con", "prn", "aux", "nul", "conin$", "conout$"};
    const bool numbered = name.size() == 4 && isDigit(name[3]) &&
                          (equalsIgnoringCase(name.substr(0, 3), "com") || equalsIgnoringCase(name.substr(0, 3), "lpt"));
    return numbered || std::any_of(kDevices.begin(), kDevices.end(), [&](std::string_view device) {
               return equalsIgnoringCase(name, device);
           });
}

// A path on a drive of this machine. Opening a network path would hand the administrator's
// credentials to its host; a device path or name reaches no file.
bool isLocalPath(std::string_view path) {
    if (isDeviceName(path.substr(path.find_last_of('\\') + 1))) return false;
    if (path.substr(0, 2) != "\\\\") return true;
    const bool onDrive = path.size() >= 6 && path.substr(2, 2) == "?\\" && path[5] == ':';
    return onDrive && (path.size() == 6 || path[6] == '\\');
}

// A drive's root folder ends in a backslash already.
std::string pathIn(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.ends_with('\\')) path += '\\';
    return path.append(name);
}

// Where the folders of a path begin: after "\\?\" in a path that names a drive so.
size_t rootPrefixOf(std::string_view path) { return path.substr(0, 4) == "\\\\?\\" ? 4 : 0; }

class ConfigReader {
public:
    ConfigReader(const ConfigFiles& files, const std::string& mainFile, const OnDirective& onDirective)
        : files_(files), onDirective_(onDirective), drive_(driveOf(mainFile)), fallbackRoot_(folderOf(folderOf(mainFile))),
          root_(fallbackRoot_), open_{asciiLower(mainFile)} {}

    void readText(const std::string& file, std::string_view text, int depth) {
        forEachConfigLine(text, [&](const ConfigLine& line) {
            if (isBlankOrComment(line.text)) return true;
            std::string resolved;
            ConfigLine directive = line;
            if (line.text.find("${") != npos) directive.text = resolved = withVariables(line.text);
            stopped_ = !onDirective_(file, directive);
            if (!stopped_) follow(directive.text, depth);
            return !stopped_;
        });
    }

private:
    // Most lines are none of these: the first word is tested before the line is taken apart.
    void follow(std::string_view line, int depth) {
        const bool includes = isDirective(line, "Include") || isDirective(line, "IncludeOptional");
        const bool defines = isDirective(line, "Define"), undefines = isDirective(line, "UnDefine");
        const bool setsRoot = isDirective(line, "ServerRoot");
        if (!includes && !defines && !undefines && !setsRoot) return;
        const std::vector<ConfigWord> words = wordsOf(line);
        if (words.size() < 2) return;
        const std::string& argument = words[1].value;
        if (includes) include(argument, depth);
        else if (setsRoot) setServerRoot(argument);
        else if (undefines) defines_.erase(argument);
        else if (words.size() > 2) defines_[argument] = words[2].value;
    }

    // An undefined variable stays as it was written, as Apache leaves it.
    std::string withVariables(std::string_view line) const {
        std::string resolved;
        size_t copied = 0;
        for (size_t open = line.find("${"); open != npos; open = line.find("${", copied)) {
            const size_t close = line.find('}', open + 2);
            if (close == npos) break;
            const auto value = defines_.find(std::string(line.substr(open + 2, close - open - 2)));
            resolved.append(line.substr(copied, open - copied));
            resolved.append(value != defines_.end() ? std::string_view(value->second) : line.substr(open, close + 1 - open));
            copied = close + 1;
        }
        return resolved.append(line.substr(copied));
    }

    static std::string withBackslashes(std::string_view written) {
        std::string path(written);
        std::replace(path.begin(), path.end(), '/', '\\');
        while (path.size() > 1 && path.back() == '\\' && path[path.size() - 2] != ':') path.pop_back();
        return path;
    }
    static bool isRelative(std::string_view path) { return driveOf(path).empty() && path.substr(0, 1) != "\\"; }

    std::string absolutePath(std::string_view written) const {
        const std::string path = withBackslashes(written);
        if (isRelative(path)) return pathIn(root_, path);
        return driveOf(path).empty() ? drive_ + path : path;
    }

    // A server root that is relative or does not exist is the folder above the main file's.
    void setServerRoot(std::string_view written) {
        const std::string root = absolutePath(written);
        root_ = !isRelative(withBackslashes(written)) && openFolder(root) ? root : fallbackRoot_;
    }

    void include(std::string_view written, int depth) {
        const std::string path = absolutePath(written);
        const size_t wildcard = path.find_first_of("*?", rootPrefixOf(path));
        if (wildcard == npos) return includePath(path, depth);
        const size_t folderEnd = path.rfind('\\', wildcard);
        if (folderEnd != npos) includeMatching(path.substr(0, folderEnd), std::string_view(path).substr(folderEnd + 1), depth);
    }

    // The pattern's parts are taken one folder at a time: a part with wildcards takes the matching
    // names of the folder in sorted order, and the parts after it go on in those that are folders.
    void includeMatching(const std::string& folder, std::string_view pattern, int depth) {
        const size_t slash = pattern.find('\\');
        const std::string_view part = pattern.substr(0, slash);
        const auto goOn = [&](const std::string& path) {
            if (slash == npos) includePath(path, depth);
            else includeMatching(path, pattern.substr(slash + 1), depth);
        };
        if (part.find_first_of("*?") == npos) return goOn(pathIn(folder, part));
        std::optional<ConfigFolder> listed = openFolder(folder);
        if (!listed) return;
        std::erase_if(listed->names, [&](const std::string& name) { return !matchesWildcard(part, name); });
        std::sort(listed->names.begin(), listed->names.end());
        for (const std::string& name : listed->names) goOn(pathIn(folder, name));
    }

    // A folder already taken whole, through a link or otherwise, is passed over.
    void includePath(const std::string& path, int depth) {
        if (stopped_ || depth >= kMaxIncludeDepth || opened_ == kMaxConfigOpens) return;
        const std::string key = asciiLower(path);
        if (std::find(open_.begin(), open_.end(), key) != open_.end()) return;
        if (const std::optional<std::string> text = readFile(path)) {
            open_.push_back(key);
            readText(path, *text, depth + 1);
            open_.pop_back();
            return;
        }
        std::optional<ConfigFolder> folder = openFolder(path);
        if (!folder || !foldersTaken_.insert(folder->identity).second) return;
        std::sort(folder->names.begin(), folder->names.end());
        for (const std::string& name : folder->names) includePath(pathIn(path, name), depth + 1);
    }

    // Every file and folder the reading opens passes here, within the reading's bounds.
    bool mayOpen(std::string_view path) {
        if (opened_ == kMaxConfigOpens || !isLocalPath(path)) return false;
        ++opened_;
        return true;
    }

    std::optional<std::string> readFile(const std::string& path) {
        if (!mayOpen(path)) return std::nullopt;
        std::optional<std::string> text = files_.read(path, kMaxConfigBytes - bytesRead_);
        if (text) bytesRead_ += text->size();
        return text;
    }

    std::optional<ConfigFolder> openFolder(const std::string& path) {
        if (!mayOpen(path)) return std::nullopt;
        std::optional<ConfigFolder> folder = files_.folder(path, kMaxConfigNames - namesListed_);
        if (folder) namesListed_ += folder->names.size();
        return folder;
    }

    const ConfigFiles& files_;
    const OnDirective& onDirective_;
    const std::string drive_;
    const std::string fallbackRoot_;
    std::string root_;
    std::map<std::string, std::string> defines_;
    std::vector<std::string> open_;  // the files being read, outermost first, to stop a file including itself
    std::set<std::string> foldersTaken_;
    size_t opened_ = 0, bytesRead_ = 0, namesListed_ = 0;
    bool stopped_ = false;
};

}  // namespace

void forEachConfigLine(std::string_view text, const std::function<bool(const ConfigLine&)>& onLine) {
    ConfigLine line;
    std::string joined;
    bool continued = false;
    size_t number = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t lf = findByte(text, '\n', start);
        const size_t next = lf == npos ? text.size() : lf + 1;
        const size_t end = lf == npos ? next : lf > start && text[lf - 1] == '\r' ? lf - 1 : lf;
        const std::string_view physical = text.substr(start, end - start);
        if (!continued) line.begin = start, line.number = number + 1, joined.clear();
        ++number;
        start = next;
        line.end = end;
        line.terminator = text.substr(end, next - end);
        if (!line.terminator.empty() && !physical.empty() && physical.back() == '\\') {
            joined.append(physical.substr(0, physical.size() - 1));
            continued = true;
            continue;
        }
        line.text = continued ? std::string_view(joined.append(physical)) : physical;
        continued = false;
        if (!onLine(line)) return;
    }
    // A backslash on the last line goes on into the end of the file.
    if (continued) {
        line.text = joined;
        onLine(line);
    }
}

std::vector<ConfigWord> wordsOf(std::string_view line) {
    std::vector<ConfigWord> words;
    if (isBlankOrComment(line)) return words;
    for (size_t at = skipSpaces(line, 0); at < line.size(); at = skipSpaces(line, words.back().end))
        words.push_back(wordAt(line, at));
    return words;
}

bool isDirective(std::string_view line, std::string_view name) {
    const size_t start = skipSpaces(line, 0);
    const size_t end = start + name.size();
    return end <= line.size() && (end == line.size() || isSpace(line[end])) &&
           equalsIgnoringCase(line.substr(start, name.size()), name);
}

void forEachDirective(const ConfigFiles& files, const std::string& mainFile, std::string_view mainText,
                      const OnDirective& onDirective) {
    ConfigReader(files, mainFile, onDirective).readText(mainFile, mainText, 0);
}

}  // namespace velko
