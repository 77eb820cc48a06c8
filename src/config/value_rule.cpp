#include "config/value_rule.h"

#include "win/failure.h"

namespace velko {

std::string valueOf(std::string_view line) {
    if (line.empty()) throw invalidArgument();
    const size_t separator = line.find("= ");
    if (separator == std::string_view::npos) return std::string(line.substr(1));
    return std::string(line.substr(separator + 2));
}

}  // namespace velko
