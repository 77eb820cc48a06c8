#include "config/value_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/failure.h"

namespace velko {
namespace {

struct ValueCase {
    std::string line;
    std::string value;
};

TEST(ValueRule, TakesTheTextAfterTheFirstEqualsBlank) {
    const std::vector<ValueCase> cases{
        {"theme\t\t= blue", "blue"},
        {"a = b = c", "b = c"},
        {"duration\t= ", ""},
        {"= ", ""},
        {"key =  x ", " x "},
        {"key\t=   ", "  "},
        {"x= y", "y"},
        {"==  y", " y"},
        {"enc_opts\t= -ovc lavc = x", "-ovc lavc = x"},
        {"xampp_dir\t= C:\\xampp\\", "C:\\xampp\\"},
    };
    for (const auto& [line, value] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(valueOf(line), value);
    }
}

TEST(ValueRule, WithoutEqualsBlankDropsTheFirstCharacter) {
    const std::vector<ValueCase> cases{
        {"key=value", "ey=value"},
        {"theme=blue", "heme=blue"},
        {"x", ""},
        {"=", ""},
        {"a =", " ="},
        {" =x", "=x"},
        {"xampp_dir\t=C:\\", "ampp_dir\t=C:\\"},
    };
    for (const auto& [line, value] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(valueOf(line), value);
    }
}

TEST(ValueRule, EmptyLineHasNoValue) {
    try {
        valueOf("");
        FAIL() << "the empty line gave a value";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), 5);
        EXPECT_EQ(failure.description(), "Invalid procedure call or argument");
    }
}

}  // namespace
}  // namespace velko
