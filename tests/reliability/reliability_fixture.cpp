#include "reliability_fixture.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace velko::testing {
namespace {

constexpr std::array<std::string_view, 6> kKeysWithPadding{
    "theme\t\t= ", "flvtool_exe\t= ", "enc_exe\t\t= ", "enc_opts\t= ", "duration\t= ", "drive_list\t= "};

constexpr std::array<Control, 5> kSettingFields{Control::txtFLV, Control::txtMencoder, Control::txtMenOpts,
                                                Control::txtLES, Control::txtDriveList};

std::string replacedOnce(std::string text, std::string_view from, std::string_view to) {
    const size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos)
        throw std::logic_error("expected exactly one \"" + std::string(from) + "\"");
    return text.replace(at, from.size(), to);
}

bool isListed(const std::string& path) {
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA(path.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

// Wine starts a Unix program without a process handle to wait on: what it does is waited for.
void runOnUnix(std::string command, const std::function<bool()>& done) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("could not start " + command);
    for (int tried = 0; !done(); ++tried) {
        if (tried == 500) throw std::runtime_error("not done: " + command);
        Sleep(10);
    }
}

}  // namespace

void DemoInstallationTest::linkFromUnix(const std::string& link, const std::string& target) {
    runOnUnix("Z:\\bin\\ln -s \"" + unixPathOf(target) + "\" \"" + unixPathOf(link) + "\"", [&] { return isListed(link); });
    links_.push_back(link);
}

// Wine removes what a link leads to, never the link itself, and no folder that holds one.
DemoInstallationTest::~DemoInstallationTest() {
    for (const std::string& link : links_)
        runOnUnix("Z:\\bin\\rm -f \"" + unixPathOf(link) + "\"", [&] { return !isListed(link); });
}

const SettingValues kDemoSettingValues{
    "Classic",
    "C:\\xampp\\flvtool2\\flvtool2",
    "C:\\xampp\\mplayer\\mencoder",
    "-ovc lavc -lavcopts vcodec=flv:vbitrate=500 -oac mp3lame -lameopts abr:br=56 -srate 22050",
    "162",
    "C:\\;D:\\",
};

std::string settingsFileOf(const SettingValues& values) {
    std::string file;
    for (size_t i = 0; i < values.size(); ++i) file.append(kKeysWithPadding[i]).append(values[i]).append("\r\n");
    return file;
}

std::string pointerFileOf(std::string_view xamppDirectory) {
    return "xampp_dir\t= " + std::string(xamppDirectory) + "\r\n";
}

std::string demoApacheConfigurationWith(std::string_view demoConfiguration, std::string_view port) {
    std::string edited = replacedOnce(std::string(demoConfiguration), "\r\nListen 80\r\n",
                                      "\r\nlisten " + std::string(port) + "\r\n");
    return replacedOnce(std::move(edited), "\r\nServerName localhost:80\r\n",
                        "\r\nServerName localhost:" + std::string(port) + "\r\n");
}

TreeSnapshot snapshotOf(const std::string& directory) {
    TreeSnapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        const std::string relativePath = fs::relative(entry.path(), directory).string();
        snapshot[relativePath] = entry.is_directory() ? "(directory)" : readBytes(entry.path().string());
    }
    return snapshot;
}

::testing::AssertionResult sameBytes(std::string_view actual, std::string_view expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    const size_t at = static_cast<size_t>(
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first - actual.begin());
    const auto excerpt = [at](std::string_view bytes) {
        return ::testing::PrintToString(std::string(bytes.substr(at, 40)));
    };
    return ::testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                         << " were expected; first difference at byte " << at << ": "
                                         << excerpt(actual) << " instead of " << excerpt(expected);
}

::testing::AssertionResult sameTree(const TreeSnapshot& actual, const TreeSnapshot& expected) {
    std::string differences;
    for (const auto& [path, bytes] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) differences += "\n  missing: " + path;
        else if (const auto same = sameBytes(found->second, bytes); !same)
            differences += "\n  changed: " + path + ": " + same.message();
    }
    for (const auto& entry : actual)
        if (!expected.contains(entry.first)) differences += "\n  added: " + entry.first;
    if (differences.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the files differ:" << differences;
}

::testing::AssertionResult sameLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    for (size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        if (const auto same = sameBytes(actual[i], expected[i]); !same)
            return ::testing::AssertionFailure() << "line " << i << ": " << same.message();
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " lines where " << expected.size() << " were expected";
    return ::testing::AssertionSuccess();
}

void DemoInstallationTest::restoreScratch(const TreeSnapshot& snapshot) const {
    for (const auto& entry : fs::directory_iterator(scratch.root())) fs::remove_all(entry.path());
    for (const auto& [path, bytes] : snapshot)
        bytes == "(directory)" ? scratch.makeDirectory(path) : scratch.write(path, bytes);
}

SettingValues DemoInstallationTest::shownSettings() const {
    const int theme = window->selectedTheme();
    SettingValues values{theme < 0 ? std::string() : window->theme(theme)};
    for (size_t i = 0; i < kSettingFields.size(); ++i) values[i + 1] = textOf(kSettingFields[i]);
    return values;
}

void DemoInstallationTest::showSettings(const SettingValues& values) const {
    selectThemeNamed(values[0]);
    for (size_t i = 0; i < kSettingFields.size(); ++i) setTextOf(kSettingFields[i], values[i + 1]);
}

void DemoInstallationTest::edit() const {
    showSettings(kEditedSettings);
    setTextOf(Control::txtWSP, std::string(kEditedPort));
}

void DemoInstallationTest::expectOneFailureBox(std::string_view textStart) const {
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const ShownMessage& box = dialogs.messages.front();
    EXPECT_EQ(box.title, "Velko Configurator");
    EXPECT_EQ(box.style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(box.text.substr(0, textStart.size()), textStart) << box.text;
}

void DemoInstallationTest::expectWindowKept(const std::vector<std::string>& shownBefore) const {
    EXPECT_FALSE(dialogs.endedWith.has_value());
    ASSERT_TRUE(IsWindow(window->hwnd()));
    EXPECT_TRUE(IsWindowVisible(window->hwnd()));
    EXPECT_EQ(shownConfiguration(), shownBefore);
    EXPECT_TRUE(menuCommandEnabled(optSave));
    EXPECT_TRUE(menuCommandEnabled(optExit));
}

}  // namespace velko::testing
