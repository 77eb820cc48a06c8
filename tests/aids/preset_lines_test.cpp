#include "aids/preset_lines.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace velko {
namespace {

struct PresetCase {
    std::string line;
    std::optional<std::string> caption;
    std::string options;
};

TEST(PresetLines, CaptionIsTheNameAndOptionsFollowTheLastTab) {
    const std::vector<PresetCase> cases{
        {"Fast\tquick and small\t-ovc lavc -oac mp3lame", "Fast", "-ovc lavc -oac mp3lame"},
        {"Fast\t-ovc lavc", "Fast", "-ovc lavc"},
        {"A\tb\tc\td", "A", "d"},
        {" Name with blanks \t -o x ", " Name with blanks ", " -o x "},
        {"Empty options\t", "Empty options", ""},
        {"Empty options\tmiddle\t", "Empty options", ""},
        {"\t-ovc copy", "", "-ovc copy"},
        {"\t", "", ""},
        {"\t\t", "", ""},
        {"\xE4\xF6\t\x80\xff", "\xE4\xF6", "\x80\xff"},
    };
    for (const auto& [line, caption, options] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(presetCaption(line), caption);
        EXPECT_EQ(presetOptions(line), options);
    }
}

TEST(PresetLines, LineWithoutTabHasNoCaption) {
    for (const std::string line : {"", "separator", "-----", "mencoder hq, 612br"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(presetCaption(line), std::nullopt);
    }
}

TEST(PresetLines, LineWithoutTabGivesItselfAsOptions) {
    EXPECT_EQ(presetOptions("-ovc copy"), "-ovc copy");
    EXPECT_EQ(presetOptions(""), "");
}

TEST(PresetLines, DefaultMarkerFollowsTheNameWhereverTheMarkTextStands) {
    const std::vector<PresetCase> cases{
        {"Mencoder HQ, 612br\t-ovc lavc", "Mencoder HQ, 612br (DEFAULT)", "-ovc lavc"},
        {"Best\tMENCODER HQ, 612BR\t-ovc lavc", "Best (DEFAULT)", "-ovc lavc"},
        {"Best\t-o mencoder hq, 612br", "Best (DEFAULT)", "-o mencoder hq, 612br"},
        {"\tmencoder hq, 612br", " (DEFAULT)", "mencoder hq, 612br"},
        {"Near\tmencoder hq 612br", "Near", "mencoder hq 612br"},
        {"Near\tmencoder hq,612br", "Near", "mencoder hq,612br"},
    };
    for (const auto& [line, caption, options] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(presetCaption(line), caption);
        EXPECT_EQ(presetOptions(line), options);
    }
}

TEST(PresetLines, DefaultTestIgnoresLetterCaseAndPosition) {
    EXPECT_TRUE(isDefaultPreset("mencoder hq, 612br"));
    EXPECT_TRUE(isDefaultPreset("x\tMeNcOdEr Hq, 612Br\ty"));
    EXPECT_TRUE(isDefaultPreset("no tab mencoder hq, 612br"));
    EXPECT_FALSE(isDefaultPreset("mencoder hq, 612b"));
    EXPECT_FALSE(isDefaultPreset(""));
}

}  // namespace
}  // namespace velko
