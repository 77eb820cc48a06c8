// Random bytes in every file the configurator reads: NUL, lone CR, LF inside lines, 0xFF, lines of
// a mebibyte. The load neither fails nor crashes and finds what the rules find; the save then
// writes its three files whole and leaves every other byte as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "garbage_text.h"
#include "reliability_fixture.h"

namespace velko::testing {
namespace {

// The garbage holds what the tests below rely on to trouble the reader.
TEST(GarbageText, HoldsNulLoneCrLineFeedInsideALineHighBytesAndAMebibyteLine) {
    GarbageText text(1, {});
    text.garbage(50).longLine().garbage(50);
    const std::string bytes = text.bytes();
    EXPECT_NE(bytes.find('\0'), std::string::npos);
    EXPECT_NE(bytes.find('\xff'), std::string::npos);
    bool loneCr = false;
    for (size_t at = bytes.find('\r'); at != std::string::npos; at = bytes.find('\r', at + 1))
        loneCr = loneCr || at + 1 == bytes.size() || bytes[at + 1] != '\n';
    EXPECT_TRUE(loneCr);
    const std::vector<std::string>& lines = text.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return line.find('\n') != std::string::npos; }));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return line.size() == size_t{1} << 20; }));
}

class GarbageInput : public DemoInstallationTest {
protected:
    void SetUp() override { installDemo(); }

    // Saves with a new port. The settings file and the pointer file then hold what the window
    // shows, Apache's configuration holds apacheConfiguration, and nothing else has changed.
    void expectSaveWrites(const std::string& port, const std::string& apacheConfiguration) {
        setTextOf(Control::txtWSP, port);
        TreeSnapshot expected = snapshotOf(scratch.root());
        expected[inXampp(relative::kSettings)] = settingsFileOf(shownSettings());
        expected["xampp.txt"] = pointerFileOf(textOf(Control::txtPath));
        expected[inXampp(relative::kApacheConfiguration)] = apacheConfiguration;
        save();
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
        EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), expected));
    }
    void expectSaveWritesTheDemoWith(const std::string& port) {
        expectSaveWrites(port, demoApacheConfigurationWith(get(relative::kApacheConfiguration), port));
    }

    // The demo shows these wherever its files were left alone.
    void expectDemoVersionsAndPort() const {
        EXPECT_EQ(textOf(Control::lblXV), "v1.7.3");
        EXPECT_EQ(textOf(Control::lblVV), "v0.9.4");
        EXPECT_EQ(textOf(Control::txtWSP), "80");
    }
};

TEST_F(GarbageInput, ChangeLogGivesTheVersionOfItsHeading) {
    const std::string version = "1.7.3 \xff\xfe\x80 build\t\x01";
    GarbageText changeLog(11, {"xampp"});
    changeLog.garbage(30).longLine();
    // Appended rather than joined with +: GCC 12 warns falsely of overlapping copies (-Wrestrict).
    std::string heading = "\xff" + changeLog.randomBytes(40);
    changeLog.line(heading.append(" XAMPP ").append(version)).garbage(30);
    put(relative::kChangeLog, changeLog.bytes());

    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(textOf(Control::lblXV), "v" + version);
    EXPECT_EQ(textOf(Control::lblVV), "v0.9.4");
    EXPECT_EQ(shownSettings(), kDemoSettingValues);
    expectSaveWritesTheDemoWith(kEditedPort);
}

TEST_F(GarbageInput, MainScriptGivesTheQuotedVersion) {
    GarbageText script(12, {"$version ="});
    script.garbage(30).longLine();
    script.line("$version = \"0.9.4-\xe9\xff\x80\";" + script.randomBytes(50)).garbage(30);
    put(relative::kMainScript, script.bytes());

    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(textOf(Control::lblXV), "v1.7.3");
    EXPECT_EQ(textOf(Control::lblVV), "v0.9.4-\xe9\xff\x80");
    expectSaveWritesTheDemoWith(kEditedPort);
}

// Lines that hold a stored line only as the start of a longer token stay as they are.
TEST_F(GarbageInput, ApacheConfigurationIsRewrittenWithOnlyTheStoredLinesChanged) {
    // Apache ends a line only at LF: a lone CR before either line would make it part of another.
    const std::string listen = "#\nListen 8123\t# \xff\xfe";
    const std::string serverName = "#\nServerName localhost:8123";
    GarbageText configuration(13, {"listen ", "listen\t", "servername"});
    configuration.garbage(40).longLine().line(listen).garbage(20);
    configuration.line(listen + std::string("\0tail", 5)).line(listen + "0").garbage(20);
    configuration.line(serverName).line("  " + serverName + "4").line(serverName + "\xff").garbage(10);
    put(relative::kApacheConfiguration, configuration.bytes());

    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(textOf(Control::txtWSP), "8123");

    std::string saved = configuration.bytes();
    saved.replace(saved.find(listen), listen.size(), "#\nlisten 9090\t# \xff\xfe");
    // Every other Listen on the port moves with it, in place.
    for (size_t at = saved.find(listen); at != std::string::npos; at = saved.find(listen, at)) saved.replace(at + 9, 4, "9090");
    saved.replace(saved.find(serverName), serverName.size(), "#\nServerName localhost:9090");
    expectSaveWrites("9090", saved);
}

// A text box ends its text at a NUL: the field shows the drive list up to it.
TEST_F(GarbageInput, SettingsFileGivesEveryValueAfterItsKey) {
    const std::vector<std::string> keys{"theme", "flvtool_exe", "enc_exe", "enc_opts", "duration", "drive_list"};
    GarbageText settings(14, keys);
    std::string longOptions = settings.randomBytes(5000);
    // No NUL or LF, which the field would not keep whole, and no 0x98: Wine's text box crashes
    // when it draws the small tilde that stands for it in code page 1252.
    std::erase_if(longOptions, [](char c) { return c == '\0' || c == '\n' || c == '\x98'; });
    settings.garbage(20).longLine();
    settings.line("drive_list\t= " + std::string("C:\\\0D:\\", 7)).garbage(5);
    settings.line("THEME = GREEN").garbage(5);
    settings.line("flvtool_exe\t=   C:\\\xe9t\xe9\\flvtool2 = x= ").garbage(5);
    settings.line("enc_exe\t\t= \xff\xfe\x80\x7f\t\x01").garbage(5);
    settings.line("enc_opts\t= " + longOptions).garbage(5);
    settings.line("duration\t= ").garbage(5);
    put(relative::kSettings, settings.bytes());

    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(shownSettings(), (SettingValues{"green", "  C:\\\xe9t\xe9\\flvtool2 = x= ", "\xff\xfe\x80\x7f\t\x01",
                                              longOptions, "", "C:\\"}));
    expectDemoVersionsAndPort();
    expectSaveWritesTheDemoWith(kEditedPort);
}

TEST_F(GarbageInput, ALineFeedInsideASettingsValueIsShownAndTheSaveRefusesIt) {
    put(relative::kSettings, "flvtool_exe\t= C:\\tools\nflvtool2\r\nduration\t= 60\r");
    ASSERT_TRUE(open());
    EXPECT_EQ(textOf(Control::txtFLV), "C:\\tools\nflvtool2");
    EXPECT_EQ(textOf(Control::txtLES), "60");

    const TreeSnapshot before = snapshotOf(scratch.root());
    const std::vector<std::string> shownBefore = shownConfiguration();
    save();
    expectOneFailureBox("Error 5: The field \"FLV Tool Path:\" holds a line break");
    expectWindowKept(shownBefore);
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));
}

TEST_F(GarbageInput, PresetFileGivesOnePresetPerLine) {
    GarbageText presets(15, {});
    presets.garbage(100).longLine().garbage(20);
    put(relative::kPresets, presets.bytes());

    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(sameLines(window->presetStore(), presets.lines()));
    EXPECT_EQ(static_cast<size_t>(GetMenuItemCount(window->presetMenu())), presets.lines().size());
    expectDemoVersionsAndPort();
    expectSaveWritesTheDemoWith(kEditedPort);
}

TEST_F(GarbageInput, PointerFileGivesTheDirectoryAfterItsKey) {
    GarbageText pointer(16, {"xampp_dir"});
    pointer.garbage(20).longLine().line("xampp_dir\t= " + xamppDirectory()).garbage(20);
    scratch.write("xampp.txt", pointer.bytes());

    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
    expectDemoVersionsAndPort();
    expectSaveWritesTheDemoWith(kEditedPort);
}

// Nothing holds a key: the prompt asks for the directory, every step finds nothing, and the
// save writes Apache's configuration back with no line changed.
TEST_F(GarbageInput, GarbageWithoutAnyKeyInEveryFileLoadsAsNothingFound) {
    const auto garbageFile = [](unsigned seed, std::vector<std::string> keys) {
        GarbageText text(seed, std::move(keys));
        text.garbage(50).longLine().garbage(50);
        return text;
    };
    const GarbageText changeLog = garbageFile(21, {"xampp"});
    const GarbageText script = garbageFile(22, {"$version ="});
    const GarbageText configuration = garbageFile(23, {"listen ", "listen\t", "servername"});
    const GarbageText settings =
        garbageFile(24, {"theme", "flvtool_exe", "enc_exe", "enc_opts", "duration", "drive_list"});
    const GarbageText presets = garbageFile(25, {});
    const GarbageText pointer = garbageFile(26, {"xampp_dir"});
    put(relative::kChangeLog, changeLog.bytes());
    put(relative::kMainScript, script.bytes());
    put(relative::kApacheConfiguration, configuration.bytes());
    put(relative::kSettings, settings.bytes());
    put(relative::kPresets, presets.bytes());
    scratch.write("xampp.txt", pointer.bytes());
    dialogs.promptAnswers.push_back(xamppDirectory());

    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
    EXPECT_EQ(textOf(Control::lblXV), "v");
    EXPECT_EQ(textOf(Control::lblVV), "v");
    EXPECT_EQ(textOf(Control::txtWSP), "");
    EXPECT_EQ(shownSettings(), SettingValues{});
    EXPECT_EQ(themes(), (std::vector<std::string>{"blue", "Classic", "green"}));
    EXPECT_TRUE(sameLines(window->presetStore(), presets.lines()));

    showSettings({"blue", "a", "b", "c", "d", "e"});
    expectSaveWrites("8080", configuration.bytes());
}

}  // namespace
}  // namespace velko::testing
