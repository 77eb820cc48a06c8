#include "config/load_cuts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "win/failure.h"

namespace velko {
namespace {

struct CutCase {
    std::string line;
    std::string cut;
};

using Cut = std::function<std::string(std::string_view)>;

void expectCuts(const Cut& cut, const std::vector<CutCase>& cases) {
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(cut(line), expected);
    }
}

void expectInvalidArgument(const Cut& cut, const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        SCOPED_TRACE(line);
        try {
            const std::string result = cut(line);
            ADD_FAILURE() << "cut gave \"" << result << "\"";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), 5);
        }
    }
}

TEST(XamppVersion, IsTheTextAfterXamppLessOneCharacter) {
    expectCuts(xamppVersionOf, {
        {"XAMPP 1.6.0", "1.6.0"},
        {"XAMPP version 1.6.0", "version 1.6.0"},
        {"  XAMPP 1.7.3 (2010)", "1.7.3 (2010)"},
        {"Changes XAMPP 1.6.0 and XAMPP 1.6.1", "1.6.0 and XAMPP 1.6.1"},
        {"XAMPP-1.6.0", "1.6.0"},
        {"XAMPP ", ""},
    });
}

TEST(XamppVersion, WithoutUpperCaseXamppIsTheLastLengthLessFiveCharacters) {
    expectCuts(xamppVersionOf, {
        {"see xampp-readme", "ampp-readme"},
        {"Xampp 1.6.0", " 1.6.0"},
        {"C:\\xampp\\", "mpp\\"},
        {"12345", ""},
    });
}

TEST(XamppVersion, TooShortTextIsInvalid) {
    expectInvalidArgument(xamppVersionOf, {"", "1234", "XAMPP", "xxXAMPP"});
}

TEST(VelkoVersion, IsTheQuotedTextAfterTheEquals) {
    expectCuts(velkoVersionOf, {
        {"$version = \"1.0\";", "1.0"},
        {"  our $version = \"2.1 beta\"; # release", "2.1 beta"},
        {"$version =\"1.0\";", ".0"},
        {"$version = \"\";", ""},
        {"$version = \"1.0", "1.0"},
        {"$version = '1.0';", "1.0';"},
        {"$version = 1.0;", ".0;"},
        {"$version = \"a=b\";", "a=b"},
        {"1.6.0", "6.0"},
        {"ab", ""},
        {"a=bc", ""},
    });
}

TEST(VelkoVersion, LessThanTwoCharactersAfterTheEqualsIsInvalid) {
    expectInvalidArgument(velkoVersionOf, {"", "x", "$version =", "$version = "});
}

TEST(Port, IsTheTextAfterTheFirstBlank) {
    expectCuts(portOf, {
        {"Listen 80", "80"},
        {"Listen 0.0.0.0:80", "0.0.0.0:80"},
        {"  Listen 80", " Listen 80"},
        {"Listen 80 # web", "80 # web"},
        {"Listen\t80", "Listen\t80"},
        {"Listen80", "Listen80"},
        {"Listen ", ""},
        {"", ""},
    });
}

TEST(ThemeName, IsThePartOfThePathAfterTheLastBackslash) {
    expectCuts(themeNameOf, {
        {"C:\\xampp\\htdocs\\velko\\themes\\blue", "blue"},
        {"C:\\xampp\\htdocs\\velko\\themes\\Red Sky", "Red Sky"},
        {"C:\\themes\\", ""},
        {"blue", "blue"},
        {"", ""},
    });
}

}  // namespace
}  // namespace velko
