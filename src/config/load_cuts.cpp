#include "config/load_cuts.h"

#include <cstddef>

#include "win/failure.h"

namespace velko {
namespace {

using Count = std::ptrdiff_t;

// 1-based position of the first occurrence of part, 0 when absent.
Count positionOf(std::string_view text, std::string_view part) {
    const size_t at = text.find(part);
    return at == std::string_view::npos ? 0 : static_cast<Count>(at) + 1;
}

Count lengthOf(std::string_view text) {
    return static_cast<Count>(text.size());
}

std::string_view lastChars(std::string_view text, Count count) {
    if (count < 0) throw invalidArgument();
    return text.substr(text.size() - static_cast<size_t>(count));
}

}  // namespace

std::string xamppVersionOf(std::string_view changeLogLine) {
    const Count mark = positionOf(changeLogLine, "XAMPP");
    return std::string(lastChars(changeLogLine, lengthOf(changeLogLine) - mark - 5));
}

std::string velkoVersionOf(std::string_view indexLine) {
    const Count equals = positionOf(indexLine, "=");
    const std::string_view quoted = lastChars(indexLine, lengthOf(indexLine) - equals - 2);
    // Without a closing double quote the version is all that follows the opening quote.
    return std::string(quoted.substr(0, quoted.find('"')));
}

std::string portOf(std::string_view listenLine) {
    const Count blank = positionOf(listenLine, " ");
    return std::string(lastChars(listenLine, lengthOf(listenLine) - blank));
}

std::string themeNameOf(std::string_view directoryPath) {
    const size_t lastSeparator = directoryPath.rfind('\\');
    if (lastSeparator == std::string_view::npos) return std::string(directoryPath);
    return std::string(directoryPath.substr(lastSeparator + 1));
}

}  // namespace velko
