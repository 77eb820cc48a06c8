#include "config/versions.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velko {
namespace {

struct VersionCase {
    std::string line;
    std::optional<std::string> version;
};

using VersionOf = std::function<std::optional<std::string>(std::string_view)>;

void expectVersions(const VersionOf& versionOf, const std::vector<VersionCase>& cases) {
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(versionOf(line), expected);
    }
}

TEST(XamppVersion, IsTheVersionOfAChangeLogHeadingAndTheRestOfItsLine) {
    expectVersions(xamppVersionOf, {
        {"XAMPP 1.7.3", "1.7.3"},
        {"20. December 2009 1.7.3", "1.7.3"},
        {"08. April 2009 1.7.1 Beta5", "1.7.1 Beta5"},
        {"25. Sept 2008 XAMPP 1.6.8", "1.6.8"},
        {"30 Sept. 2006 XAMPP  1.5.4a", "1.5.4a"},
        {"XAMPP version 1.6.0", "1.6.0"},
        {"xampp Version 1.7.3-beta2 ", "1.7.3-beta2"},
        {"  XAMPP 1.7.3 (2010)\t", "1.7.3 (2010)"},
        {"Changes XAMPP 1.6.0 and XAMPP 1.6.1", "1.6.0 and XAMPP 1.6.1"},
    });
}

TEST(XamppVersion, ALineThatIsNoHeadingGivesNone) {
    expectVersions(xamppVersionOf, {
        {"", std::nullopt},
        {"XAMPP", std::nullopt},
        {"Apache 2.2", std::nullopt},
        {"  * Upgraded Apache to 2.2.14", std::nullopt},
        {"in a short path which follows the old DOS 8.3 naming conventions.", std::nullopt},
        {"upgrade xampp_cli bundle from version 1.2 to 1.3", std::nullopt},
        {"see xampp-readme", std::nullopt},
        {"XAMPP-1.6.0", std::nullopt},
        {"XAMPP 1", std::nullopt},
        {"XAMPP 1.", std::nullopt},
        {"XAMPP for Windows 1.7.3", std::nullopt},
        {"#XAMPP 1.7.3", std::nullopt},
        {"  # 20. December 2009 1.7.3", std::nullopt},
        {"Released 2009-12-19 1.7.3", std::nullopt},
        {"20. December 09 1.7.3", std::nullopt},
        {"200. December 2009 1.7.3", std::nullopt},
    });
}

TEST(VelkoVersion, IsTheTextBetweenTheFirstMatchingQuotesAfterTheEquals) {
    expectVersions(velkoVersionOf, {
        {"$version = \"0.9.2\";", "0.9.2"},
        {"  our $version = \"2.1 beta\"; # release", "2.1 beta"},
        {"$version =\"1.0\";", "1.0"},
        {"$version = '1.0';", "1.0"},
        {"$version = \"it's 1.0\";", "it's 1.0"},
        {"$version = '\"1.0\"';", "\"1.0\""},
        {"$version = \"\";", ""},
        {"$version = \"a=b\";", "a=b"},
    });
}

TEST(VelkoVersion, WithoutAPairOfQuotesAfterTheEqualsGivesNone) {
    expectVersions(velkoVersionOf, {
        {"", std::nullopt},
        {"$version = 1.0;", std::nullopt},
        {"$version = \"1.0", std::nullopt},
        {"$version = '1.0\";", std::nullopt},
        {"\"1.0\" $version", std::nullopt},
    });
}

}  // namespace
}  // namespace velko
