#include "config/port_holder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace velko {
namespace {

// Tables as Windows gives them; under Wine every process is 0.
TEST(PortHolder, NamesTheHolderAsWellAsTheTableTells) {
    const std::vector<Listener> windows{
        {80, 4, ""},
        {135, 1020, ""},
        {8080, 5312, "C:\\Program Files\\Apache\\bin\\httpd.exe"},
        {8080, 4, ""},
        {3306, 0, ""},
        {3306, 2712, "C:/xampp/mysql/bin/mysqld.exe"},
        {443, 7000, "vmware-hostd.exe"},
    };
    const std::vector<std::tuple<std::uint16_t, BindRefusal, std::string>> cases{
        {80, BindRefusal::InUse, "the HTTP service of Windows (System, process 4)"},
        {80, BindRefusal::AccessDenied, "the HTTP service of Windows (System, process 4)"},
        {8080, BindRefusal::InUse, "httpd.exe (process 5312)"},
        {3306, BindRefusal::InUse, "mysqld.exe (process 2712)"},
        {443, BindRefusal::InUse, "vmware-hostd.exe (process 7000)"},
        {135, BindRefusal::InUse, "process 1020"},
        {50000, BindRefusal::AccessDenied, "Windows, which reserves it in an excluded port range"},
        {50000, BindRefusal::InUse, "another program"},
    };
    for (const auto& [port, refusal, expected] : cases) {
        SCOPED_TRACE(port);
        const std::string name = portHolderName(windows, port, refusal);
        EXPECT_EQ(name.substr(0, expected.size()), expected) << name;
    }
    EXPECT_NE(portHolderName(windows, 80, BindRefusal::InUse).find("netsh http show servicestate"), std::string::npos);
    EXPECT_NE(portHolderName(windows, 50000, BindRefusal::AccessDenied)
                  .find("netsh interface ipv4 show excludedportrange protocol=tcp"),
              std::string::npos);
}

TEST(PortHolder, ListenersOfProcessZeroNameNobody) {
    const std::vector<Listener> wine{{8080, 0, ""}, {8080, 0, ""}};
    EXPECT_EQ(portHolderName(wine, 8080, BindRefusal::InUse), "another program");
    EXPECT_EQ(portHolderName(wine, 8080, BindRefusal::AccessDenied), "another program");
    EXPECT_EQ(portHolderName({}, 8080, BindRefusal::InUse), "another program");
}

}  // namespace
}  // namespace velko
