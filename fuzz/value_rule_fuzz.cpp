// The value of any line: what follows its first "= ", or the line less its first character.
#include <cstdint>
#include <string>

#include "config/value_rule.h"
#include "fuzz_support.h"
#include "win/failure.h"

using velko::fuzz::endsWith;
using velko::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::string value;
    try {
        value = velko::valueOf(line);
    } catch (const velko::Failure& failure) {
        require(line.empty(), "only the empty line has no value");
        require(failure.number() == 5, "no value is failure 5");
        return 0;
    }
    require(!line.empty(), "the empty line has no value");
    require(endsWith(line, value), "the value ends the line");
    const std::string_view before = std::string_view(line).substr(0, line.size() - value.size());
    if (line.find("= ") == std::string::npos) {
        require(before.size() == 1, "without \"= \" the value drops one character");
    } else {
        require(endsWith(before, "= "), "the value follows a \"= \"");
        require(before.find("= ") == before.size() - 2, "the value follows the first \"= \"");
    }
    return 0;
}
