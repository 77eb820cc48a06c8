#include "config/settings_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/text_lines.h"
#include "config/value_rule.h"

namespace velko {
namespace {

using namespace std::string_literals;

// Column at which text starts after line, with tab stops every 8 columns.
size_t columnAfter(std::string_view line) {
    size_t column = 0;
    for (char c : line) column = c == '\t' ? (column / 8 + 1) * 8 : column + 1;
    return column;
}

std::string fileOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// The value of the first line holding key, as loading reads it from the file's text.
std::string readValue(const std::string& fileText, std::string_view key) {
    std::string found;
    forEachLine(fileText, [&](std::string_view line) {
        if (!holdsKey(line, key)) return true;
        found = line;
        return false;
    });
    return valueOf(found);
}

std::vector<std::string> writeSettings(const std::vector<std::string>& values) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < kSettingKeys.size(); ++i) {
        lines.push_back(settingsLine(kSettingKeys[i], values[i]));
    }
    return lines;
}

TEST(SettingsLines, AreKeyPaddingSeparatorAndValue) {
    const std::vector<std::string> lines = writeSettings(
        {"blue", "C:\\flv\\flvtool2", "C:\\mencoder\\mencoder", "-ovc lavc", "162", "C D"});
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "theme\t\t= blue",
                         "flvtool_exe\t= C:\\flv\\flvtool2",
                         "enc_exe\t\t= C:\\mencoder\\mencoder",
                         "enc_opts\t= -ovc lavc",
                         "duration\t= 162",
                         "drive_list\t= C D",
                     }));
}

TEST(SettingsLines, SeparatorStandsInColumnSeventeen) {
    for (const auto& setting : kSettingKeys) {
        SCOPED_TRACE(setting.key);
        const std::string line = settingsLine(setting, "x");
        EXPECT_EQ(columnAfter(std::string_view(line).substr(0, line.find("= "))), 16u);
    }
}

TEST(SettingsLines, EmptyValueEndsTheLineWithTheSeparator) {
    EXPECT_EQ(settingsLine(kSettingKeys[4], ""), "duration\t= ");
}

TEST(PointerLine, IsKeyTabSeparatorAndDirectory) {
    EXPECT_EQ(pointerLine("C:\\xampp\\"), "xampp_dir\t= C:\\xampp\\");
    EXPECT_EQ(pointerLine(""), "xampp_dir\t= ");
}

TEST(PointerLine, ReadsBackTheDirectory) {
    const std::string directory = " D:\\my xampp = here\\ ";
    EXPECT_EQ(readValue(fileOf({pointerLine(directory)}), kPointerKey), directory);
}

TEST(SettingsRoundTrip, EveryValueComesBackUnchanged) {
    const std::vector<std::vector<std::string>> valueSets{
        {"blue", "C:\\flv\\flvtool2", "C:\\mencoder\\mencoder", "-ovc lavc", "162", "C D"},
        {"", "", "", "", "", ""},
        {" Red ", "a = b", "= ", "x\t=\ty", "  ", "#"},
        {"\xE4\xF6\xFC", "nul\0inside"s, "\x80\xff", "-o = out", "= =", "C:\\"},
    };
    for (const auto& values : valueSets) {
        const std::string file = fileOf(writeSettings(values));
        for (size_t i = 0; i < kSettingKeys.size(); ++i) {
            SCOPED_TRACE(std::string(kSettingKeys[i].key) + " in " + file);
            EXPECT_EQ(readValue(file, kSettingKeys[i].key), values[i]);
        }
    }
}

TEST(SettingsRoundTrip, KeyInAnEarlierValueIsReadFromThatLine) {
    const std::string file = fileOf(writeSettings(
        {"blue", "C:\\enc_exe\\flvtool2.exe", "C:\\mencoder", "-duration 5", "162", "C"}));
    EXPECT_EQ(readValue(file, "enc_exe"), "C:\\enc_exe\\flvtool2.exe");
    EXPECT_EQ(readValue(file, "duration"), "-duration 5");
    EXPECT_EQ(readValue(file, "drive_list"), "C");
}

}  // namespace
}  // namespace velko
