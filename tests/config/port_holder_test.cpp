#include "config/port_holder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace velko {
namespace {

// The listeners on the port as Windows gives them; under Wine every listener is process 0.
TEST(PortHolder, NamesTheHolderAsWellAsTheListenerTableTells) {
    const std::vector<std::tuple<std::vector<Listener>, BindRefusal, std::string>> cases{
        {{{4, ""}}, BindRefusal::InUse, "the HTTP service of Windows (System, process 4)"},
        {{{4, ""}}, BindRefusal::AccessDenied, "\"netsh http show servicestate\""},
        {{{5312, "C:\\Apache\\bin\\httpd.exe"}, {4, ""}}, BindRefusal::InUse, "httpd.exe (process 5312)"},
        {{{0, ""}, {2712, "C:/xampp/mysql/bin/mysqld.exe"}}, BindRefusal::InUse, "mysqld.exe (process 2712)"},
        {{{1020, ""}}, BindRefusal::InUse, "process 1020"},
        {{{0, ""}}, BindRefusal::AccessDenied, "another program"},
        {{}, BindRefusal::AccessDenied, "Windows, which reserves it in an excluded port range; "
                                        "\"netsh interface ipv4 show excludedportrange protocol=tcp\""},
        {{}, BindRefusal::InUse, "another program"},
    };
    for (const auto& [listeners, refusal, expected] : cases) {
        const std::string name = portHolderName(listeners, refusal);
        EXPECT_NE(name.find(expected), std::string::npos) << expected << ": " << name;
    }
}

}  // namespace
}  // namespace velko
