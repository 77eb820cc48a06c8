// Faults of the file system met by the real load and save: a read-only or vanished directory, a
// directory where a file should be, each step of a save. After each the user is told, the window is in the state the
// rules give, and every file is wholly old or wholly new.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "config/replacement_file.h"
#include "reliability_fixture.h"
#include "win/failure.h"

namespace velko::testing {
namespace {

class Faults : public DemoInstallationTest {
protected:
    void SetUp() override {
        installDemo();
        demoApacheConfiguration_ = get(relative::kApacheConfiguration);
    }

    std::string savedSettings() const { return settingsFileOf(kEditedSettings); }
    std::string savedPointer() const { return pointerFileOf(xamppDirectory()); }
    std::string savedApacheConfiguration() const {
        return demoApacheConfigurationWith(demoApacheConfiguration_, kEditedPort);
    }
    void expectEverythingSaved() const {
        EXPECT_EQ(get(relative::kSettings), savedSettings());
        EXPECT_EQ(scratch.read("xampp.txt"), savedPointer());
        EXPECT_EQ(get(relative::kApacheConfiguration), savedApacheConfiguration());
    }

    // A directory in the place of a file of the installation, holding a file of its own.
    void putDirectoryInPlaceOf(std::string_view relativePath) const {
        drop(relativePath);
        put(std::string(relativePath) + "\\inside.txt", "not to be touched\r\n");
    }

    std::string demoApacheConfiguration_;
};

// Neither Windows nor Wine lets the read-only attribute of a directory refuse new files in it
// (Wine does not even keep it), so the save goes through whole.
TEST_F(Faults, ReadOnlyAttributeOfTheSettingsDirectoryStopsNoSave) {
    ASSERT_TRUE(open());
    edit();
    const std::string directory = installationFile("htdocs\\velko");
    ASSERT_TRUE(SetFileAttributesA(directory.c_str(), FILE_ATTRIBUTE_READONLY));
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    expectEverythingSaved();
    EXPECT_EQ(scratch.list(inXampp("htdocs\\velko")),
              (std::vector<std::string>{"config.dat", "enc_opts.txt", "index.pl", "themes"}));
}

struct Vanishing {
    const char* name;
    const char* directory;  // below the scratch directory
    const char* movedTo;
    const char* failureBox;  // begins with this, then the path of the first file the save could not reach
    const char* fileNotWritten;
};
void PrintTo(const Vanishing& vanishing, std::ostream* out) { *out << vanishing.name; }

class VanishedDirectory : public Faults, public ::testing::WithParamInterface<Vanishing> {};

TEST_P(VanishedDirectory, FailsTheSaveAndCreatesNothingWhereItWas) {
    const Vanishing& vanishing = GetParam();
    ASSERT_TRUE(open());
    edit();
    const TreeSnapshot before = snapshotOf(scratch.root());
    const std::vector<std::string> shownBefore = shownConfiguration();
    ASSERT_TRUE(MoveFileA(scratch.path(vanishing.directory).c_str(), scratch.path(vanishing.movedTo).c_str()));

    save();
    expectOneFailureBox(std::string(vanishing.failureBox) + installationFile(vanishing.fileNotWritten));
    expectWindowKept(shownBefore);
    EXPECT_FALSE(scratch.exists(vanishing.directory));

    ASSERT_TRUE(MoveFileA(scratch.path(vanishing.movedTo).c_str(), scratch.path(vanishing.directory).c_str()));
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));

    dialogs.messages.clear();
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    expectEverythingSaved();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, VanishedDirectory,
    ::testing::Values(
        Vanishing{"Installation", "xampp", "xampp moved", "Error 76: Path not found: ", "apache\\conf\\httpd.conf"},
        Vanishing{"SettingsDirectory", "xampp\\htdocs\\velko", "xampp\\htdocs\\velko moved", "Error 76: Path not found: ",
                  "htdocs\\velko\\config.dat"},
        Vanishing{"ApacheDirectory", "xampp\\apache\\conf", "xampp\\apache\\conf moved", "Error 76: Path not found: ",
                  "apache\\conf\\httpd.conf"}),
    [](const ::testing::TestParamInfo<Vanishing>& info) { return std::string(info.param.name); });

TEST_F(Faults, APresetFileThatIsADirectoryEndsTheStartUpBeforeTheWindowIsShown) {
    putDirectoryInPlaceOf(relative::kPresets);
    const TreeSnapshot before = snapshotOf(scratch.root());
    EXPECT_FALSE(open());
    expectOneFailureBox("Error 75: Path/File access error: " + installationFile(relative::kPresets));
    EXPECT_EQ(dialogs.messages.front().owner, nullptr) << "no window was shown to own the box";
    EXPECT_EQ(dialogs.endedWith, 1u);
    EXPECT_EQ(window->hwnd(), nullptr);
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));
}

TEST_F(Faults, APresetFileThatBecomesADirectoryEndsTheProgramOnReload) {
    ASSERT_TRUE(open());
    edit();
    putDirectoryInPlaceOf(relative::kPresets);
    const TreeSnapshot before = snapshotOf(scratch.root());
    click(Control::cmdPathOK);
    expectOneFailureBox("Error 75: Path/File access error: " + installationFile(relative::kPresets));
    EXPECT_EQ(dialogs.endedWith, 1u);
    EXPECT_EQ(window->hwnd(), nullptr);
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));
}

TEST_F(Faults, ASettingsFileThatIsADirectoryIsPassedOverByTheLoadAndRefusedByTheSave) {
    putDirectoryInPlaceOf(relative::kSettings);
    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(shownSettings(), SettingValues{}) << "no theme selected, the five fields empty";
    EXPECT_EQ(textOf(Control::txtWSP), "80");
    EXPECT_EQ(textOf(Control::lblXV), "v1.7.3");
    EXPECT_EQ(textOf(Control::lblVV), "v0.9.4");

    edit();
    const TreeSnapshot before = snapshotOf(scratch.root());
    const std::vector<std::string> shownBefore = shownConfiguration();
    save();
    expectOneFailureBox("Error 75: Path/File access error: " + installationFile(relative::kSettings));
    expectWindowKept(shownBefore);
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));

    drop(relative::kSettings);
    dialogs.messages.clear();
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    expectEverythingSaved();
}

// The steps of a save as the file layer reports them, by file name without the random part of a
// temporary's. Once the commit record is written, the save stands.
const std::vector<std::string> kSaveSteps{
    "write xampp.txt.velko-journal", "flush xampp.txt.velko-journal",
    "write config.dat.velko-new",    "flush config.dat.velko-new",
    "write xampp.txt.velko-new",     "flush xampp.txt.velko-new",
    "write httpd.conf.velko-new",    "flush httpd.conf.velko-new",
    "move config.dat",               "move config.dat.velko-new",
    "move xampp.txt",                "move xampp.txt.velko-new",
    "move httpd.conf",               "move httpd.conf.velko-new",
    "commit xampp.txt.velko-journal", "remove config.dat.velko-old",
    "remove xampp.txt.velko-old",    "remove httpd.conf.velko-old",
    "remove xampp.txt.velko-journal"};
constexpr size_t kSaveStandsFrom = 15;

class SaveSteps : public Faults, public ::testing::WithParamInterface<size_t> {
protected:
    void saveWith(FileStepHook beforeEachStep) {
        setFileStepHook(std::move(beforeEachStep));
        save();
        setFileStepHook(nullptr);
    }
    // Fails the recovery of the disk left by a crash at each of its steps in turn; each time a
    // second recovery, not cut short, must bring the disk to what is expected.
    void expectEveryRecoveryCutShortFinished(const TreeSnapshot& cutShort, const TreeSnapshot& expected) {
        for (size_t failing = 0;; ++failing) {
            restoreScratch(cutShort);
            size_t step = 0;
            setFileStepHook([&](std::string_view, const std::string&) {
                if (step++ == failing) throw Failure(failure_number::PathFileAccess, "failed here");
            });
            bool failed = false;
            try {
                finishCutShortReplacement(paths().saveJournal());
            } catch (const Failure&) {
                failed = true;
            }
            setFileStepHook(nullptr);
            EXPECT_EQ(failed, step > failing);
            finishCutShortReplacement(paths().saveJournal());
            EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), expected)) << "recovery cut short at its step " << failing;
            if (!failed) return;
        }
    }
};

std::string withoutRandomPart(const std::string& path) {
    static const std::regex random("\\.[0-9a-f]{32}(\\.velko-)");
    return std::regex_replace(std::filesystem::path(path).filename().string(), random, "$1");
}

TEST_F(SaveSteps, ASaveTakesTheseSteps) {
    ASSERT_TRUE(open());
    edit();
    std::vector<std::string> steps;
    saveWith([&](std::string_view step, const std::string& path) { steps.push_back(std::string(step) + " " + withoutRandomPart(path)); });
    EXPECT_EQ(steps, kSaveSteps);
    expectEverythingSaved();
}

// The step fails; the disk as it was then is what the next load finds after the process ended there.
TEST_P(SaveSteps, EndAllOldOrAllNewWhenOneFailsOrTheProcessEndsThere) {
    const bool stands = GetParam() >= kSaveStandsFrom;
    ASSERT_TRUE(open());
    const TreeSnapshot before = snapshotOf(scratch.root());
    edit();
    const std::vector<std::string> shownBefore = shownConfiguration();
    TreeSnapshot cutShort;
    size_t step = 0;
    saveWith([&](std::string_view, const std::string&) {
        if (step++ != GetParam()) return;
        cutShort = snapshotOf(scratch.root());
        throw Failure(failure_number::PathFileAccess, "failed here");
    });
    if (stands) {
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
    } else {
        expectOneFailureBox("Error 75: failed here");
        expectWindowKept(shownBefore);
        EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));
    }
    dialogs.messages.clear();
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    expectEverythingSaved();
    const TreeSnapshot after = snapshotOf(scratch.root());

    expectEveryRecoveryCutShortFinished(cutShort, stands ? after : before);
    TreeSnapshot tidied = cutShort;  // someone removed what looked like stray new contents
    std::erase_if(tidied, [](const auto& file) { return file.first.ends_with(".velko-new"); });
    expectEveryRecoveryCutShortFinished(tidied, stands ? after : before);
    restoreScratch(cutShort);
    click(Control::cmdPathOK);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), stands ? after : before));
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveSteps, ::testing::Range(size_t{0}, kSaveSteps.size()));

constexpr std::string_view kOutside = "a file outside the installation\r\n";

// Mid-save the folders cannot be moved away, while a target can become a link: the save refuses
// it and puts back what it had moved. The file the link leads to keeps its bytes.
TEST_F(SaveSteps, ALinkMadeMidSaveLeadsItNowhereOutside) {
    scratch.write("outside.txt", kOutside);
    ASSERT_TRUE(open());
    edit();
    TreeSnapshot expected = snapshotOf(scratch.root());
    expected[inXampp(relative::kApacheConfiguration)] = kOutside;
    bool folderMoved = true;
    saveWith([&](std::string_view step, const std::string& path) {
        if (step != "move" || withoutRandomPart(path) != "httpd.conf") return;
        folderMoved = MoveFileA(installationFile("apache").c_str(), scratch.path("apache moved").c_str());
        drop(relative::kApacheConfiguration);
        linkFromUnix(installationFile(relative::kApacheConfiguration), scratch.path("outside.txt"));
    });
    EXPECT_FALSE(folderMoved);
    expectOneFailureBox("Error 75: Path/File access error: " + installationFile(relative::kApacheConfiguration) + " is a link");
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), expected));
}

// A link planted at a target is refused before anything is written; one at any other name beside
// it, the fixed temporary names of old included, is passed over.
class PlantedLink : public Faults, public ::testing::WithParamInterface<const char*> {};

TEST_P(PlantedLink, LeadsTheSaveNowhereOutside) {
    scratch.write("outside.txt", kOutside);
    const std::string name = std::string("htdocs\\velko\\") + GetParam();
    const bool atTarget = name == relative::kSettings;
    if (atTarget) drop(name);
    linkFromUnix(installationFile(name), scratch.path("outside.txt"));
    ASSERT_TRUE(open());
    edit();
    const TreeSnapshot before = snapshotOf(scratch.root());
    save();
    if (atTarget) {
        expectOneFailureBox("Error 75: Path/File access error: " + installationFile(name) + " is a link");
        EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));
    } else {
        EXPECT_TRUE(dialogs.messages.empty());
        expectEverythingSaved();
    }
    EXPECT_EQ(scratch.read("outside.txt"), kOutside);
}

INSTANTIATE_TEST_SUITE_P(Faults, PlantedLink, ::testing::Values("config.dat", "config.dat.velko-new", "config.dat.velko-old"));

// A folder that the administrator linked elsewhere before the save is followed: the save writes there.
TEST_F(Faults, AFolderLinkedOnPurposeIsSavedThrough) {
    ASSERT_TRUE(MoveFileA(installationFile("htdocs").c_str(), scratch.path("elsewhere").c_str()));
    linkFromUnix(installationFile("htdocs"), scratch.path("elsewhere"));
    ASSERT_TRUE(open());
    edit();
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    expectEverythingSaved();
    EXPECT_EQ(scratch.read("elsewhere\\velko\\config.dat"), savedSettings());
}

// What a crash, another account or a damaged disk may leave at the journal's name: none of it is
// acted on, the start goes on, and every save says why it cannot begin.
class UntrustedJournal : public Faults, public ::testing::WithParamInterface<std::string> {};

TEST_P(UntrustedJournal, TouchesNothingAndStopsNoStart) {
    scratch.write("outside.txt", kOutside);
    const std::string line = "creates\t" + scratch.root() + "\toutside.txt\tx.velko-new\tx.velko-old\r\n";
    if (GetParam() == "Garbage") scratch.write("xampp.txt.velko-journal", "creates\t" + scratch.path("outside.txt") + "\r\n");
    if (GetParam() == "FailsItsCheck")  // well formed, but the checksum is not the line's
        scratch.write("xampp.txt.velko-journal", "Velko Configurator save journal 1\r\n" + std::to_string(line.size()) +
                                                     " 0123456789abcdef\r\n" + line);
    if (GetParam() == "Folder") scratch.write("xampp.txt.velko-journal\\inside.txt", kOutside);
    const TreeSnapshot before = snapshotOf(scratch.root());
    const std::string message = "Error 75: Path/File access error: " + paths().saveJournal() + " is no journal";
    ASSERT_TRUE(open());
    expectOneFailureBox(message);
    EXPECT_TRUE(IsWindowVisible(window->hwnd()));
    EXPECT_EQ(textOf(Control::txtWSP), "80");
    edit();
    dialogs.messages.clear();
    save();
    expectOneFailureBox(message);
    EXPECT_TRUE(sameTree(snapshotOf(scratch.root()), before));
}

INSTANTIATE_TEST_SUITE_P(Faults, UntrustedJournal, ::testing::Values("Garbage", "FailsItsCheck", "Folder"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace velko::testing
