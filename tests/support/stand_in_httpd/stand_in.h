#pragma once
// A stand-in for Apache's httpd.exe, built with the tests and never shipped. It answers as Apache
// 2.4 for Windows does at the points the configurator uses; each mode has a file of its own.
#include <algorithm>
#include <string>
#include <vector>

namespace velko::stand_in {

using Arguments = std::vector<std::string>;

// The word after the option, as in "-f file"; empty when there is none.
inline std::string valueAfter(const Arguments& arguments, const std::string& option) {
    const auto at = std::find(arguments.begin(), arguments.end(), option);
    return at == arguments.end() || at + 1 == arguments.end() ? std::string() : *(at + 1);
}

int checkSyntax(const Arguments& arguments);  // -t
int runServer(const Arguments& arguments);    // no mode, or "-k runservice"

}  // namespace velko::stand_in
