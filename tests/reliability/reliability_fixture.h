#pragma once
// The demo installation in the real window, and what tests of faults look at afterwards: the
// files byte for byte, the failure box and the state the window was left in.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "../config/small_installation.h"
#include "held_port.h"

namespace velko::testing {

// The six values of the settings file in the order it is written: theme, FLV tool, encoder,
// encoder options, duration, drive list.
using SettingValues = std::array<std::string, 6>;

// What the window shows of the demo's settings file; the theme as its directory is named.
extern const SettingValues kDemoSettingValues;

// The settings file and the pointer file as a save writes them.
std::string settingsFileOf(const SettingValues& values);
std::string pointerFileOf(std::string_view xamppDirectory);

// The demo's Apache configuration with its Listen and ServerName lines carrying another port.
std::string demoApacheConfigurationWith(std::string_view demoConfiguration, std::string_view port);

// Every file and directory below a directory, by relative path: a file's bytes, or
// "(directory)". Two snapshots are equal when nothing below was changed, added or removed.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshotOf(const std::string& directory);

// Byte comparisons that, when they fail, name the first difference instead of printing files of
// a mebibyte: for one file, for every path of two snapshots, and for lists of lines.
::testing::AssertionResult sameBytes(std::string_view actual, std::string_view expected);
::testing::AssertionResult sameTree(const TreeSnapshot& actual, const TreeSnapshot& expected);
::testing::AssertionResult sameLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected);

class DemoInstallationTest : public SmallInstallationTest {
protected:
    ~DemoInstallationTest() override;
    // Makes link a symbolic link to target, both paths in the Wine prefix, from the Unix side: Wine's
    // CreateSymbolicLink makes nothing, while Wine follows and reports links made there. It goes
    // with the test.
    void linkFromUnix(const std::string& link, const std::string& target);

    std::string installationFile(std::string_view relativePath) const { return scratch.path(inXampp(relativePath)); }
    TreeSnapshot installationSnapshot() const { return snapshotOf(xamppDirectory()); }
    // Puts back everything below the scratch directory as a snapshot of it was taken.
    void restoreScratch(const TreeSnapshot& snapshot) const;

    // The values that a save writes to the settings file, as the window shows them now.
    SettingValues shownSettings() const;
    // Types the values into the fields and selects the theme of that name.
    void showSettings(const SettingValues& values) const;

    // The edits that saves under faults try to write, and what the settings file then holds.
    inline static const SettingValues kEditedSettings{"green", "C:\\tools\\flvtool2", "C:\\tools\\mencoder",
                                                      "-ovc lavc -oac mp3lame", "240", "C:\\;E:\\"};
    // A port that nothing held when the tests began. Tests that run side by side each save their
    // own, so that none finds it held by the check of another's save.
    inline static const std::string kEditedPort = HeldPort().port();
    void edit() const;

    void save() { chooseMenu(optSave); }

    // Exactly one message was shown: the failure box, whose text begins with textStart.
    void expectOneFailureBox(std::string_view textStart) const;
    // A failed save left the program running, the window showing what it showed before, and
    // Save and Exit enabled again.
    void expectWindowKept(const std::vector<std::string>& shownBefore) const;

private:
    std::vector<std::string> links_;
};

}  // namespace velko::testing
