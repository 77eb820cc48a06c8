// Saves onto drives that mounted_drives.sh mounts on the host and maps to drive letters: a tiny
// file system that the tests fill up, and installations with one directory mounted read-only.
// Each save fails with a clear message, leaves every file wholly old or wholly new and no
// temporary file, and keeps the window and its edits.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "reliability_fixture.h"
#include "win/handles.h"

namespace fs = std::filesystem;

namespace velko::testing {
namespace {

// The drive that the host mapped for a kind of test, as "X:\"; empty when it mapped none.
std::string mappedDrive(const char* variable) {
    const char* drive = std::getenv(variable);
    return drive ? drive : "";
}

constexpr const char* kNeedsTheHost = "needs the drives that tests/reliability/mounted_drives.sh mounts";

// An installation somewhere else than the scratch directory; the pointer file stays there.
class MountedInstallationTest : public DemoInstallationTest {
protected:
    void pointAt(const std::string& installation) {
        installation_ = installation;
        scratch.write("xampp.txt", pointerFileOf(installation_));
    }
    std::string file(std::string_view relativePath) const { return installation_ + std::string(relativePath); }

    // The installation and the pointer file: what a failed save must leave as they were.
    TreeSnapshot files() const {
        TreeSnapshot snapshot = snapshotOf(installation_);
        snapshot["pointer file"] = scratch.read("xampp.txt");
        return snapshot;
    }
    static void saveSettingsAndPointerIn(TreeSnapshot& snapshot, const std::string& installation) {
        snapshot[std::string(relative::kSettings)] = settingsFileOf(kEditedSettings);
        snapshot["pointer file"] = pointerFileOf(installation);
    }

    // Edits, saves into the fault, and checks the failure box, the window and the files.
    void saveFailsWith(const std::string& failureBox, const TreeSnapshot& expectedFiles) {
        edit();
        const std::vector<std::string> shownBefore = shownConfiguration();
        save();
        expectOneFailureBox(failureBox);
        expectWindowKept(shownBefore);
        EXPECT_TRUE(sameTree(files(), expectedFiles));
    }

    std::string installation_;
};

class FullDisk : public MountedInstallationTest {
protected:
    void SetUp() override {
        drive_ = mappedDrive("VELKO_FULL_DRIVE");
        if (drive_.empty()) GTEST_SKIP() << kNeedsTheHost;
        installDemo();
        fs::copy(scratch.path("xampp"), drive_ + "xampp", fs::copy_options::recursive);
        pointAt(drive_ + "xampp\\");
        demoApacheConfiguration_ = readBytes(file(relative::kApacheConfiguration));
    }
    void TearDown() override {
        if (drive_.empty()) return;
        DeleteFileA(filler().c_str());
        std::error_code ignored;
        fs::remove_all(drive_ + "xampp", ignored);
    }

    std::string filler() const { return drive_ + "filler"; }
    ULONGLONG freeBytes() const {
        ULARGE_INTEGER available{};
        GetDiskFreeSpaceExA(drive_.c_str(), &available, nullptr, nullptr);
        return available.QuadPart;
    }
    // Fills the drive with a file beside the installation until no more than left bytes are free.
    void fillLeaving(ULONGLONG left) const {
        FileHandle file(orNull(CreateFileA(filler().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
        ASSERT_TRUE(file);
        const std::string block(4096, 'f');
        DWORD written = 1;
        while (freeBytes() > left && written > 0)
            if (!WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr)) break;
        ASSERT_LE(freeBytes(), left);
    }

    void saveAfterMending() {
        ASSERT_TRUE(DeleteFileA(filler().c_str()));
        TreeSnapshot expected = files();
        saveSettingsAndPointerIn(expected, installation_);
        expected[std::string(relative::kApacheConfiguration)] =
            demoApacheConfigurationWith(demoApacheConfiguration_, kEditedPort);
        dialogs.messages.clear();
        save();
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_TRUE(sameTree(files(), expected));
    }

    std::string drive_;
    std::string demoApacheConfiguration_;
};

TEST_F(FullDisk, NoRoomAtAllFailsTheSaveAtTheSettingsFileAndWritesNothing) {
    ASSERT_TRUE(open());
    const TreeSnapshot before = files();
    fillLeaving(0);
    saveFailsWith("Error 61: Disk full: " + file(relative::kSettings), before);
    saveAfterMending();
}

// The small files fit, each in the room its old version leaves; Apache's configuration does not,
// and none is replaced then.
TEST_F(FullDisk, RoomForTheSmallFilesOnlyWritesNothing) {
    ASSERT_TRUE(open());
    const TreeSnapshot before = files();
    fillLeaving(4096);
    saveFailsWith("Error 61: Disk full: " + file(relative::kApacheConfiguration), before);
    saveAfterMending();
}

struct ReadOnlyDirectory {
    const char* name;
    const char* installation;  // below the drive, prepared by the host with the directory read-only
    const char* fileNotWritten;
};
void PrintTo(const ReadOnlyDirectory& directory, std::ostream* out) { *out << directory.name; }

class ReadOnlyMount : public MountedInstallationTest, public ::testing::WithParamInterface<ReadOnlyDirectory> {
protected:
    void SetUp() override {
        const std::string drive = mappedDrive("VELKO_LOCKED_DRIVE");
        if (drive.empty()) GTEST_SKIP() << kNeedsTheHost;
        pointAt(drive + GetParam().installation + "\\");
    }
};

TEST_P(ReadOnlyMount, FailsTheSaveAtTheFileInIt) {
    ASSERT_TRUE(open());
    const TreeSnapshot before = files();
    saveFailsWith("Error 75: Path/File access error: " + file(GetParam().fileNotWritten), before);
}

INSTANTIATE_TEST_SUITE_P(
    MountedDrives, ReadOnlyMount,
    ::testing::Values(
        ReadOnlyDirectory{"SettingsDirectory", "settings-read-only\\xampp", "htdocs\\velko\\config.dat"},
        ReadOnlyDirectory{"ApacheDirectory", "conf-read-only\\xampp", "apache\\conf\\httpd.conf"}),
    [](const ::testing::TestParamInfo<ReadOnlyDirectory>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velko::testing
