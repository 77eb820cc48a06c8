#include <string_view>

#include "stand_in.h"

// The first argument that names a mode chooses it; with none, the stand-in serves.
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
    return runServer(arguments);
}
