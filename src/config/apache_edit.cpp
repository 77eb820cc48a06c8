#include "config/apache_edit.h"

#include "config/byte_search.h"

namespace velko {
namespace {

constexpr size_t npos = std::string_view::npos;

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
                    std::string_view directive, std::string_view port) {
    size_t copied = 0;
    for (size_t at = first; at != npos; at = findStanding(line, stored, copied)) {
        out.append(line.substr(copied, at - copied)).append(directive).append(port);
        copied = at + stored.size();
    }
    out.append(line.substr(copied));
}

}  // namespace

void appendEditedApacheLine(std::string& out, std::string_view line,
                            const StoredApacheLines& stored, std::string_view port) {
    if (const size_t listenAt = findStanding(line, stored.listen, 0); listenAt != npos) {
        appendReplaced(out, line, listenAt, stored.listen, kListenDirective, port);
    } else if (const size_t nameAt = findStanding(line, stored.serverName, 0); nameAt != npos) {
        appendReplaced(out, line, nameAt, stored.serverName, kServerNameDirective, port);
    } else {
        out.append(line);
    }
}

bool editsApacheLine(std::string_view line, const StoredApacheLines& stored) {
    return findStanding(line, stored.listen, 0) != npos || findStanding(line, stored.serverName, 0) != npos;
}

StoredApacheLines linesAfterSave(const StoredApacheLines& stored, std::string_view port) {
    const auto edited = [port](const std::string& line, std::string_view directive) {
        return line.empty() ? std::string() : std::string(directive).append(port);
    };
    return {edited(stored.listen, kListenDirective), edited(stored.serverName, kServerNameDirective)};
}

}  // namespace velko
