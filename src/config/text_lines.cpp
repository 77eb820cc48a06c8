#include "config/text_lines.h"

#include <algorithm>

namespace velko {
namespace {

char asciiLowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameLetterCaseAside(char a, char b) {
    return asciiLowerChar(a) == asciiLowerChar(b);
}

}  // namespace

std::string asciiLower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), asciiLowerChar);
    return lower;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameLetterCaseAside);
}

// Only where the first letter stands, in either case, is the rest compared.
bool containsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    const char lower = asciiLowerChar(part.front());
    const char upper = lower >= 'a' && lower <= 'z' ? static_cast<char>(lower - 'a' + 'A') : lower;
    for (size_t at = findEitherByte(text, lower, upper); at != std::string_view::npos && part.size() <= text.size() - at;
         at = findEitherByte(text, lower, upper, at + 1))
        if (equalsIgnoringCase(text.substr(at, part.size()), part)) return true;
    return false;
}

bool isCommentLine(std::string_view line) {
    return !line.empty() && line.front() == '#';
}

bool holdsKey(std::string_view line, std::string_view key) {
    return !isCommentLine(line) && containsIgnoringCase(line, key);
}

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace velko
