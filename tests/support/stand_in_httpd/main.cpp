#include <algorithm>

#include "stand_in.h"

namespace velko::stand_in {

std::string valueAfter(const Arguments& arguments, std::string_view option) {
    const auto at = std::find(arguments.begin(), arguments.end(), option);
    return at == arguments.end() || at + 1 == arguments.end() ? std::string() : *(at + 1);
}

}  // namespace velko::stand_in

// The first argument that names a mode chooses it.
int main(int argc, char** argv) {
    using namespace velko::stand_in;
    struct Mode {
        std::string_view option;
        int (*run)(const Arguments&);
    };
    constexpr Mode kModes[] = {{"-t", checkSyntax}};
    const Arguments arguments(argv + 1, argv + argc);
    for (const std::string& word : arguments)
        for (const Mode& mode : kModes)
            if (word == mode.option) return mode.run(arguments);
    return 2;
}
