#include "config/apache_edit.h"

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
        } else {
            return true;
        }
        out.append(configuration.substr(copied, line.begin - copied)).append(edited).append(line.terminator);
        copied = line.end + line.terminator.size();
        return true;
    });
    return out.append(configuration.substr(copied));
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
