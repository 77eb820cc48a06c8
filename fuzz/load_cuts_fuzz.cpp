// The cuts of loading on any line: each gives a tail of the line from its mark, or failure 5.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "config/load_cuts.h"
#include "fuzz_support.h"
#include "win/failure.h"

using velko::fuzz::endsWith;
using velko::fuzz::require;

namespace {

std::optional<std::string> cutOrNothing(const std::function<std::string(std::string_view)>& cut,
                                        std::string_view line) {
    try {
        return cut(line);
    } catch (const velko::Failure& failure) {
        require(failure.number() == 5, "a cut that cannot be made is failure 5");
        return std::nullopt;
    }
}

// The text from offset on, or nothing when the line ends before it.
std::optional<std::string> tailFrom(std::string_view line, size_t offset) {
    if (offset > line.size()) return std::nullopt;
    return std::string(line.substr(offset));
}

void checkXamppVersion(std::string_view line) {
    const size_t mark = line.find("XAMPP");
    // After "XAMPP" and its blank; without the mark, after the first five characters.
    const size_t from = mark == std::string_view::npos ? 5 : mark + 6;
    require(cutOrNothing(velko::xamppVersionOf, line) == tailFrom(line, from),
            "the XAMPP version follows the mark and one more character");
}

void checkVelkoVersion(std::string_view line) {
    const size_t equals = line.find('=');
    const size_t from = equals == std::string_view::npos ? 2 : equals + 3;
    const std::optional<std::string> afterOpeningQuote = tailFrom(line, from);
    const std::optional<std::string> version = cutOrNothing(velko::velkoVersionOf, line);
    require(version.has_value() == afterOpeningQuote.has_value(),
            "the version fails only when the line ends before the opening quote");
    if (!version) return;
    require(afterOpeningQuote->substr(0, version->size()) == *version,
            "the version starts after the opening quote");
    require(version->find('"') == std::string::npos, "the version holds no double quote");
    require(version->size() == afterOpeningQuote->size() ||
                (*afterOpeningQuote)[version->size()] == '"',
            "the version ends at the closing quote or with the line");
}

void checkPort(std::string_view line) {
    const std::optional<std::string> port = cutOrNothing(velko::portOf, line);
    require(port.has_value(), "every line has a port");
    const size_t blank = line.find(' ');
    require(*port == (blank == std::string_view::npos ? line : line.substr(blank + 1)),
            "the port follows the first blank, or is the whole line");
}

void checkThemeName(std::string_view line) {
    const std::optional<std::string> name = cutOrNothing(velko::themeNameOf, line);
    require(name.has_value(), "every path has a name");
    require(endsWith(line, *name), "the name ends the path");
    require(name->find('\\') == std::string::npos, "the name holds no backslash");
    require(name->size() == line.size() || line[line.size() - name->size() - 1] == '\\',
            "the name follows the last backslash");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    checkXamppVersion(line);
    checkVelkoVersion(line);
    checkPort(line);
    checkThemeName(line);
    return 0;
}
