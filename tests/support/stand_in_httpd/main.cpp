#include <algorithm>

#include "stand_in.h"

namespace velko::stand_in {

std::string valueAfter(const Arguments& arguments, std::string_view option) {
    const auto at = std::find(arguments.begin(), arguments.end(), option);
    return at == arguments.end() || at + 1 == arguments.end() ? std::string() : *(at + 1);
}

namespace {

struct Mode {
    std::string_view option;
    int (*run)(const Arguments&);
};
// The first argument that names a mode chooses it; without one, the stand-in serves.
constexpr Mode kModes[] = {
    {"-k", runServer},
};

}  // namespace
}  // namespace velko::stand_in

int main(int argc, char** argv) {
    using namespace velko::stand_in;
    const Arguments arguments(argv + 1, argv + argc);
    for (const std::string& word : arguments)
        for (const Mode& mode : kModes)
            if (word == mode.option) return mode.run(arguments);
    return runServer(arguments);
}
