// Key matching against a plain byte-by-byte search, with keys cut from the line itself.
#include <cstdint>
#include <string>

#include "config/text_lines.h"
#include "fuzz_support.h"

using velko::fuzz::require;

namespace {

char foldedAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c;
}

bool matchesAt(std::string_view text, size_t at, std::string_view part) {
    for (size_t i = 0; i < part.size(); ++i) {
        if (foldedAscii(text[at + i]) != foldedAscii(part[i])) return false;
    }
    return true;
}

bool referenceContains(std::string_view text, std::string_view part) {
    for (size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (matchesAt(text, at, part)) return true;
    }
    return false;
}

// A piece of the line with the case of its ASCII letters flipped where flips has a bit set.
std::string keyCutFrom(std::string_view line, FuzzedDataProvider& input) {
    const size_t from = input.ConsumeIntegralInRange<size_t>(0, line.size());
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, line.size() - from);
    std::string key(line.substr(from, length));
    for (char& c : key) {
        const bool letter = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
        if (letter && input.ConsumeBool()) c = static_cast<char>(c ^ 0x20);
    }
    return key;
}

void checkLetterCase(std::string_view line, std::string_view key) {
    const std::string lower = velko::asciiLower(line);
    require(lower.size() == line.size(), "lower-casing keeps the length");
    for (size_t i = 0; i < line.size(); ++i) {
        require(lower[i] == foldedAscii(line[i]), "lower-casing folds ASCII letters only");
    }
    require(velko::equalsIgnoringCase(line, lower), "a text equals its lower case");
    require(velko::equalsIgnoringCase(line, key) ==
                (line.size() == key.size() && matchesAt(line, 0, key)),
            "equality is whole-text, letter case aside");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool keyFromLine = input.ConsumeBool();
    const std::string randomKey = input.ConsumeRandomLengthString(16);
    const std::string line = input.ConsumeRandomLengthString(512);
    const std::string key = keyFromLine ? keyCutFrom(line, input) : randomKey;

    const bool contained = referenceContains(line, key);
    if (keyFromLine) require(contained, "a piece of the line is found in it");
    require(velko::containsIgnoringCase(line, key) == contained,
            "containment is a substring test, letter case aside");
    const bool comment = !line.empty() && line[0] == '#';
    require(velko::isCommentLine(line) == comment, "a comment starts with #");
    require(velko::holdsKey(line, key) == (contained && !comment),
            "a line holds a key when it contains it and is no comment");
    require(velko::holdsLineBreak(line) == (line.find_first_of("\r\n") != std::string::npos),
            "a line break is a CR or an LF");
    checkLetterCase(line, key);
    return 0;
}
