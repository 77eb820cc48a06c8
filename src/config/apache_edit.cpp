#include "config/apache_edit.h"

#include <algorithm>
#include <vector>

#include "config/text_lines.h"

namespace velko {
namespace {

constexpr size_t npos = std::string_view::npos;
constexpr std::string_view kListen = "listen ";
constexpr std::string_view kServerNameLocalhost = "ServerName localhost:";

// Where the port of "[address:]port" begins: after the last colon that stands neither in the
// brackets of an IPv6 address nor in the name of a variable.
size_t portStart(std::string_view argument) {
    size_t start = 0;
    bool inBrackets = false, inVariable = false;
    for (size_t at = 0; at < argument.size(); ++at) {
        const char c = argument[at];
        if (c == '[' || c == ']') inBrackets = c == '[';
        else if (c == '$' && argument.substr(at + 1, 1) == "{") inVariable = true;
        else if (c == '}') inVariable = false;
        else if (c == ':' && !inBrackets && !inVariable) start = at + 1;
    }
    return start;
}

std::string firstArgument(std::string_view line) {
    std::vector<ConfigWord> words = wordsOf(line);
    return words.size() > 1 ? std::move(words[1].value) : std::string();
}

// A value as one word that Apache reads back as that value: quoted where it holds a blank or
// begins with a quote.
std::string asWord(std::string_view value) {
    if (!value.empty() && value.find_first_of(" \t\v\f\r") == npos && value.front() != '"' && value.front() != '\'')
        return std::string(value);
    std::string word = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\') word += '\\';
        word += c;
    }
    return word += '"';
}

// The directive written anew as one line: its name, what precedes the port in its first argument,
// the port, and whatever follows that argument. A backslash at its end would join it to the next line.
std::string editedLine(std::string_view line, std::string_view name, std::string_view port) {
    const std::vector<ConfigWord> words = wordsOf(line);
    std::string edited(name);
    if (words.size() < 2) return edited.append(port);
    const std::string_view argument = words[1].value;
    if (name == kListen) edited.append(asWord(std::string(argument.substr(0, portStart(argument))).append(port)));
    else edited.append(port);
    const std::string_view rest = line.substr(words[1].end);
    if (!rest.empty() && std::string_view(" \t\v\f\r").find(rest.front()) == npos) edited += ' ';
    edited.append(rest);
    while (edited.back() == '\\') edited.pop_back();
    return edited;
}

// Where an address word of a directive ends in the line, less a closing quote or the ">" that
// closes a <VirtualHost>, and the address itself.
struct Address {
    std::string text;
    size_t end = 0;
};

Address addressOf(std::string_view line, const ConfigWord& word) {
    Address address{word.value, word.end};
    if (address.end > 0 && (line[address.end - 1] == '"' || line[address.end - 1] == '\'')) --address.end;
    if (!address.text.empty() && address.text.back() == '>' && address.end > 0 && line[address.end - 1] == '>') {
        address.text.pop_back();
        --address.end;
    }
    return address;
}

// The words of a directive that are addresses a port move changes: the first argument of Listen
// and NameVirtualHost, every argument of <VirtualHost>.
std::vector<ConfigWord> movableAddresses(std::string_view line) {
    const bool listens = isDirective(line, "Listen") || isDirective(line, "NameVirtualHost");
    if (!listens && !isDirective(line, "<VirtualHost")) return {};
    std::vector<ConfigWord> words = wordsOf(line);
    words.erase(words.begin(), words.begin() + std::min<size_t>(words.size(), 1));
    if (listens && words.size() > 1) words.resize(1);
    return words;
}

// The line with the port of each address that names from as a number replaced by to in place;
// nothing when no address does. An address whose port is not written as it reads (an escape in
// quotes) is passed over.
std::optional<std::string> movedLine(std::string_view line, unsigned from, std::string_view to) {
    std::optional<std::string> moved;
    const std::vector<ConfigWord> words = movableAddresses(line);
    for (auto word = words.rbegin(); word != words.rend(); ++word) {
        const Address address = addressOf(line, *word);
        const std::string_view port = std::string_view(address.text).substr(portStart(address.text));
        if (portNumber(port) != from || address.end < port.size()) continue;
        const size_t at = address.end - port.size();
        if (line.substr(at, port.size()) != port) continue;
        if (!moved) moved.emplace(line);
        moved->replace(at, port.size(), to);
    }
    return moved;
}

std::string_view trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t\r");
    return start == npos ? std::string_view() : text.substr(start, text.find_last_not_of(" \t\r") + 1 - start);
}

}  // namespace

bool isServerNameLine(std::string_view line) {
    constexpr std::string_view localhost = "localhost:";
    return isDirective(line, "ServerName") && equalsIgnoringCase(std::string_view(firstArgument(line)).substr(0, localhost.size()), localhost);
}

std::string shownPortOf(std::string_view listenLine) {
    const std::string argument = firstArgument(listenLine);
    return argument.substr(portStart(argument));
}

std::string portOf(std::string_view configuration) {
    std::string port;
    forEachConfigLine(configuration, [&](const ConfigLine& line) {
        if (!isDirective(line.text, "Listen")) return true;
        port = shownPortOf(line.text);
        return false;
    });
    return port;
}

std::string reachableAddressOf(std::string_view configuration) {
    std::string address;
    forEachConfigLine(configuration, [&](const ConfigLine& line) {
        if (!isDirective(line.text, "Listen")) return true;
        const std::string argument = firstArgument(line.text);
        const size_t port = portStart(argument);
        address = argument.substr(0, port == 0 ? 0 : port - 1);
        if (address.size() >= 2 && address.front() == '[' && address.back() == ']') address = address.substr(1, address.size() - 2);
        if (address.empty() || address == "*" || address == "0.0.0.0") address = "127.0.0.1";
        else if (address == "::") address = "::1";
        return false;
    });
    return address;
}

std::optional<unsigned> portNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    unsigned number = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') return std::nullopt;
        number = number * 10 + static_cast<unsigned>(digit - '0');
        if (number > 65535) return std::nullopt;
    }
    return number;
}

bool isPortNumber(std::string_view text) {
    const std::optional<unsigned> number = portNumber(text);
    return number && *number >= 1;
}

bool samePort(std::string_view a, std::string_view b) {
    const std::optional<unsigned> numberA = portNumber(a), numberB = portNumber(b);
    return numberA && numberB ? *numberA == *numberB : a == b;
}

std::string rewrittenConfiguration(std::string_view configuration, std::string_view port,
                                   const std::function<void()>& beforeEachLine) {
    const std::optional<unsigned> from = portNumber(portOf(configuration)), to = portNumber(port);
    const bool moves = from && to && *from != *to;
    std::string out;
    out.reserve(configuration.size() + 64);
    bool listenFound = port.empty(), serverNameFound = port.empty();
    size_t copied = 0;
    forEachConfigLine(configuration, [&](const ConfigLine& line) {
        beforeEachLine();
        std::string edited;
        if (!listenFound && isDirective(line.text, "Listen")) {
            edited = editedLine(line.text, kListen, port);
            listenFound = true;
        } else if (!serverNameFound && isServerNameLine(line.text)) {
            edited = editedLine(line.text, kServerNameLocalhost, port);
            serverNameFound = true;
        } else if (std::optional<std::string> moved = moves ? movedLine(line.text, *from, port) : std::nullopt) {
            edited = std::move(*moved);
        } else {
            return true;
        }
        out.append(configuration.substr(copied, line.begin - copied)).append(edited).append(line.terminator);
        copied = line.end + line.terminator.size();
        return true;
    });
    return out.append(configuration.substr(copied));
}

std::string withPortMoved(std::string_view text, unsigned from, std::string_view to) {
    std::string out;
    size_t copied = 0;
    forEachConfigLine(text, [&](const ConfigLine& line) {
        const std::optional<std::string> moved = movedLine(line.text, from, to);
        if (!moved) return true;
        out.append(text.substr(copied, line.begin - copied)).append(*moved).append(line.terminator);
        copied = line.end + line.terminator.size();
        return true;
    });
    return out.append(text.substr(copied));
}

std::vector<MovedFile> includedFilesMoved(const ConfigFilesReadOnce& files, const std::string& mainFile, std::string_view mainText,
                                          unsigned from, std::string_view to) {
    std::vector<std::string> included;
    forEachDirective(files, mainFile, mainText, [&](const std::string& file, const ConfigLine&) {
        if (file != mainFile && (included.empty() || included.back() != file) &&
            std::find(included.begin(), included.end(), file) == included.end())
            included.push_back(file);
        return true;
    });
    std::vector<MovedFile> moved;
    for (const std::string& path : included) {
        std::optional<std::string> before = files.read(path, kMaxConfigBytes);
        if (!before) continue;
        std::string after = withPortMoved(*before, from, to);
        if (after != *before) moved.push_back({path, std::move(*before), std::move(after)});
    }
    return moved;
}

// The control panel reads its settings as Windows reads a profile file: the first section and
// the first key of a name, letter case aside, blanks around names and values passed over.
std::string withControlPanelPortMoved(std::string_view settings, unsigned from, std::string_view to) {
    std::string moved(settings);
    bool inPorts = false;
    forEachLineWithTerminator(settings, LineEnds::CrLfCrOrLf, [&](std::string_view line, std::string_view) {
        const std::string_view text = trimmed(line);
        if (text.starts_with('[')) {
            if (inPorts) return false;
            inPorts = equalsIgnoringCase(trimmed(text.substr(1, text.find(']') - 1)), "ServicePorts");
            return true;
        }
        const size_t equals = text.find('=');
        if (!inPorts || equals == npos || !equalsIgnoringCase(trimmed(text.substr(0, equals)), "Apache")) return true;
        const std::string_view value = trimmed(text.substr(equals + 1));
        if (portNumber(value) == from) moved.replace(static_cast<size_t>(value.data() - settings.data()), value.size(), to);
        return false;
    });
    return moved;
}

std::optional<ListenConflict> otherListenOn(const ConfigFiles& files, const std::string& mainFile,
                                            std::string_view mainText, unsigned port) {
    std::optional<ListenConflict> conflict;
    bool editedPassed = false;
    forEachDirective(files, mainFile, mainText, [&](const std::string& file, const ConfigLine& line) {
        if (!isDirective(line.text, "Listen")) return true;
        if (!editedPassed && file == mainFile) {
            editedPassed = true;
            return true;
        }
        if (portNumber(shownPortOf(line.text)) == port)
            conflict = ListenConflict{file, line.number, std::string(trimmed(line.text))};
        return !conflict;
    });
    return conflict;
}

}  // namespace velko
