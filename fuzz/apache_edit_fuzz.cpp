// The Apache line edit on lines built of the stored lines, token ends and other bytes: it
// changes a line only where a stored line stands as a whole token, and a second save finds
// what the first one wrote.
#include <cstdint>
#include <optional>
#include <string>

#include "config/apache_edit.h"
#include "fuzz_support.h"

using velko::fuzz::oneLineText;
using velko::fuzz::require;
using velko::fuzz::startsWith;

namespace {

bool standsAt(std::string_view line, size_t at, std::string_view stored) {
    if (stored.empty() || line.substr(at, stored.size()) != stored) return false;
    const size_t end = at + stored.size();
    return end == line.size() || std::string_view(" \t#").find(line[end]) != std::string_view::npos;
}

bool standsIn(std::string_view line, std::string_view stored) {
    for (size_t at = 0; at < line.size(); ++at) {
        if (standsAt(line, at, stored)) return true;
    }
    return false;
}

// Walks the line byte by byte, writing the replacement wherever the stored line stands.
std::string referenceEdit(std::string_view line, std::string_view stored,
                          std::string_view replacement) {
    std::string edited;
    for (size_t at = 0; at < line.size();) {
        if (standsAt(line, at, stored)) {
            edited.append(replacement);
            at += stored.size();
        } else {
            edited += line[at++];
        }
    }
    return edited;
}

std::string lineOfPieces(FuzzedDataProvider& input, const velko::StoredApacheLines& stored) {
    std::string line;
    for (int piece = 0; piece < 12 && input.remaining_bytes() > 0; ++piece) {
        switch (input.ConsumeIntegralInRange(0, 4)) {
            case 0: line += stored.listen; break;
            case 1: line += stored.serverName; break;
            case 2: line += input.PickValueInArray({' ', '\t', '#'}); break;
            case 3: line += input.ConsumeIntegral<char>(); break;
            default: line += input.ConsumeRandomLengthString(8);
        }
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const velko::StoredApacheLines stored{oneLineText(input, 16), oneLineText(input, 32), {}};
    const std::string port = oneLineText(input, 8);
    const std::string line = lineOfPieces(input, stored);

    const velko::StoredApacheLines after = velko::editedApacheLines(stored, port);
    const std::string before = "earlier lines\r\n";
    std::string out = before;
    velko::appendEditedApacheLine(out, line, stored, after);
    require(startsWith(out, before), "the edit keeps what the buffer held");
    const std::string_view edited = std::string_view(out).substr(before.size());

    if (!stored.listen.empty()) {
        const std::string shown = velko::shownPortOf(stored.listen);
        require(stored.listen.find(shown) != std::string::npos, "the port shown is a part of the Listen line");
        require(velko::shownPortOf(velko::editedApacheLines(stored, shown).listen) == shown,
                "a save of the port shown keeps that port");
    }
    if (standsIn(line, stored.listen)) {
        require(edited == referenceEdit(line, stored.listen, after.listen),
                "the Listen branch replaces every standing Listen line");
        require(standsIn(edited, after.listen), "a second save finds the Listen line written");
    } else if (standsIn(line, stored.serverName)) {
        require(edited == referenceEdit(line, stored.serverName, after.serverName),
                "the ServerName branch replaces every standing ServerName line");
        require(standsIn(edited, after.serverName), "a second save finds the ServerName line");
    } else {
        require(edited == line, "a line without a standing stored line stays byte for byte");
    }
    if (const std::optional<std::string_view> other = velko::otherListenLineOn(line, stored, port)) {
        require(other->data() >= line.data() && other->data() + other->size() <= line.data() + line.size(),
                "the other Listen line lies in the text");
        require(velko::isListenLine(*other) && !velko::editsApacheLine(*other, stored) &&
                    velko::shownPortOf(*other) == port,
                "the other Listen line is one the save leaves, on the new port");
    }
    return 0;
}
