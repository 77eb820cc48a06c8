#include "config/port_holder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace velko {
namespace {

// A table as Windows gives it; under Wine every listener is process 0, as port 443's here.
TEST(PortHolder, NamesTheHolderAsWellAsTheListenerTableTells) {
    const std::vector<Listener> table{{80, 4, ""},        {135, 1020, ""}, {8080, 5312, "C:\\Apache\\bin\\httpd.exe"},
                                      {8080, 4, ""},      {3306, 0, ""},   {3306, 2712, "C:/xampp/mysql/bin/mysqld.exe"},
                                      {443, 0, ""}};
    const std::vector<std::tuple<std::uint16_t, BindRefusal, std::string>> cases{
        {80, BindRefusal::InUse, "the HTTP service of Windows (System, process 4)"},
        {80, BindRefusal::AccessDenied, "\"netsh http show servicestate\""},
        {8080, BindRefusal::InUse, "httpd.exe (process 5312)"},
        {3306, BindRefusal::InUse, "mysqld.exe (process 2712)"},
        {135, BindRefusal::InUse, "process 1020"},
        {443, BindRefusal::AccessDenied, "another program"},
        {50000, BindRefusal::AccessDenied, "Windows, which reserves it in an excluded port range; "
                                           "\"netsh interface ipv4 show excludedportrange protocol=tcp\""},
        {50000, BindRefusal::InUse, "another program"},
    };
    for (const auto& [port, refusal, expected] : cases) {
        const std::string name = portHolderName(table, port, refusal);
        EXPECT_NE(name.find(expected), std::string::npos) << port << ": " << name;
    }
}

}  // namespace
}  // namespace velko
