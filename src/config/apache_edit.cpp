#include "config/apache_edit.h"

#include <algorithm>

#include "config/byte_search.h"
#include "config/text_lines.h"

namespace velko {
namespace {

constexpr size_t npos = std::string_view::npos;
// Plain loops: the string searches of the C runtime under Wine call memchr for every byte, and
// the load tests every line of the configuration.
bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipBlanks(std::string_view line, size_t from) {
    while (from < line.size() && isBlank(line[from])) ++from;
    return from;
}

size_t skipWord(std::string_view line, size_t from) {
    while (from < line.size() && !isBlank(line[from])) ++from;
    return from;
}

// The argument of a directive line: after its first word and the blanks that follow it.
size_t argumentStart(std::string_view line) {
    return skipBlanks(line, skipWord(line, skipBlanks(line, 0)));
}

// The first word is the name when a blank follows the name's length of it: most lines fail that.
bool isDirective(std::string_view line, std::string_view name) {
    const size_t start = skipBlanks(line, 0);
    const size_t end = start + name.size();
    return end < line.size() && isBlank(line[end]) && equalsIgnoringCase(line.substr(start, name.size()), name);
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Where the port of "[address:]port" begins: after the colon that follows the address; an IPv6
// address stands in brackets and holds colons of its own.
size_t portStart(std::string_view argument) {
    const size_t bracket = argument.rfind(']');
    const size_t colon = argument.rfind(':');
    if (colon == npos || (bracket != npos && colon < bracket)) return 0;
    return colon + 1;
}

// A Listen line in three parts: what precedes the shown port in its argument, the shown port,
// and what follows the argument.
struct ListenParts {
    std::string_view address;
    std::string_view port;
    std::string_view rest;
};

ListenParts listenPartsOf(std::string_view line) {
    const size_t start = argumentStart(line);
    const size_t end = skipWord(line, start);
    const std::string_view argument = line.substr(start, end - start);
    const size_t port = portStart(argument);
    if (!allDigits(argument.substr(port))) return {{}, argument, line.substr(end)};
    return {argument.substr(0, port), argument.substr(port), line.substr(end)};
}

// A stored line stands at a place when nothing of the same token follows it there, so that
// "Listen 80" is found in "Listen 80 # web" but not in "Listen 8080".
bool endsToken(std::string_view line, size_t end) {
    return end == line.size() || line[end] == ' ' || line[end] == '\t' || line[end] == '#';
}

size_t findStanding(std::string_view line, std::string_view stored, size_t from) {
    if (stored.empty()) return npos;
    for (size_t at = findText(line, stored, from); at != npos; at = findText(line, stored, at + 1)) {
        if (endsToken(line, at + stored.size())) return at;
    }
    return npos;
}

void appendReplaced(std::string& out, std::string_view line, size_t first, std::string_view stored,
                    std::string_view replacement) {
    size_t copied = 0;
    for (size_t at = first; at != npos; at = findStanding(line, stored, copied)) {
        out.append(line.substr(copied, at - copied)).append(replacement);
        copied = at + stored.size();
    }
    out.append(line.substr(copied));
}

}  // namespace

bool isListenLine(std::string_view line) { return isDirective(line, "Listen"); }

bool isServerNameLine(std::string_view line) {
    constexpr std::string_view localhost = "localhost:";
    return isDirective(line, "ServerName") &&
           equalsIgnoringCase(line.substr(argumentStart(line)).substr(0, localhost.size()), localhost);
}

std::string shownPortOf(std::string_view listenLine) { return std::string(listenPartsOf(listenLine).port); }

bool isPortNumber(std::string_view text) {
    if (!allDigits(text)) return false;
    long number = 0;
    for (const char digit : text) {
        number = number * 10 + (digit - '0');
        if (number > 65535) return false;
    }
    return number >= 1;
}

StoredApacheLines editedApacheLines(const StoredApacheLines& stored, std::string_view port) {
    StoredApacheLines edited{{}, {}, std::string(port)};
    if (!stored.listen.empty()) {
        const ListenParts parts = listenPartsOf(stored.listen);
        edited.listen.append(kListenDirective).append(parts.address).append(port).append(parts.rest);
    }
    if (!stored.serverName.empty())
        edited.serverName.append(kServerNameDirective).append(port.substr(portStart(port)));
    return edited;
}

void appendEditedApacheLine(std::string& out, std::string_view line, const StoredApacheLines& stored,
                            const StoredApacheLines& edited) {
    if (const size_t listenAt = findStanding(line, stored.listen, 0); listenAt != npos) {
        appendReplaced(out, line, listenAt, stored.listen, edited.listen);
    } else if (const size_t nameAt = findStanding(line, stored.serverName, 0); nameAt != npos) {
        appendReplaced(out, line, nameAt, stored.serverName, edited.serverName);
    } else {
        out.append(line);
    }
}

bool editsApacheLine(std::string_view line, const StoredApacheLines& stored) {
    return findStanding(line, stored.listen, 0) != npos || findStanding(line, stored.serverName, 0) != npos;
}

std::optional<std::string_view> otherListenLineOn(std::string_view configuration, const StoredApacheLines& stored,
                                                  std::string_view port) {
    std::optional<std::string_view> found;
    forEachLineWithTerminator(configuration, LineEnds::CrLfCrOrLf, [&](std::string_view line, std::string_view) {
        if (isListenLine(line) && !editsApacheLine(line, stored) && listenPartsOf(line).port == port) found = line;
        return !found;
    });
    return found;
}

}  // namespace velko
