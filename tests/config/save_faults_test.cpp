// Saves that fail half-way through on real faults: each file stays wholly old or becomes wholly new, no
// temporary file is left, and the window keeps its edits so that the user can save again.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "small_installation.h"

namespace velko::testing {
namespace {

enum class Written { Old, New };
using Outcome = std::array<Written, 3>;  // settings file, pointer file, Apache configuration

constexpr Outcome kNothingWritten{Written::Old, Written::Old, Written::Old};
constexpr Outcome kSettingsWritten{Written::New, Written::Old, Written::Old};
constexpr Outcome kSettingsAndPointerWritten{Written::New, Written::New, Written::Old};

struct Fault {
    const char* what;
    std::function<void()> inject;
    std::function<void()> mend;
    Outcome outcome;
};

class FailedSave : public SmallInstallationTest {
protected:
    void SetUp() override {
        installSmall();
        scratch.write("xampp.txt", oldPointer());
        ASSERT_TRUE(open());
        setTextOf(Control::txtWSP, "8080");
        setTextOf(Control::txtFLV, "edited flv");
        selectThemeNamed("blue");
    }

    std::string oldPointer() const { return "xampp_dir\t= " + xamppDirectory() + "\r\n# kept by hand\r\n"; }
    std::array<std::string, 3> oldFiles() const {
        return {std::string(kSmallSettings), oldPointer(), std::string(kSmallApacheConfiguration)};
    }
    std::array<std::string, 3> newFiles() const {
        return {
            "theme\t\t= blue\r\nflvtool_exe\t= edited flv\r\nenc_exe\t\t= C:\\tools\\mencoder\r\n"
            "enc_opts\t= -ovc lavc -oac mp3lame\r\nduration\t= 162\r\ndrive_list\t= C,D\r\n",
            "xampp_dir\t= " + xamppDirectory() + "\r\n",
            "ServerRoot \"C:/xampp/apache\"\r\nlisten 8080\r\nServerName localhost:8080\r\n"
            "DocumentRoot \"C:/xampp/htdocs\"\r\n",
        };
    }
    std::array<std::string, 3> files() const {
        return {get(relative::kSettings), scratch.read("xampp.txt"), get(relative::kApacheConfiguration)};
    }
    std::array<std::string, 3> expectedFiles(const Outcome& outcome) const {
        std::array<std::string, 3> expected;
        for (size_t i = 0; i < expected.size(); ++i)
            expected[i] = outcome[i] == Written::New ? newFiles()[i] : oldFiles()[i];
        return expected;
    }

    std::string path(std::string_view relativePath) const { return scratch.path(inXampp(relativePath)); }

    void setReadOnly(std::string_view fullPath, bool readOnly) const {
        SetFileAttributesA(std::string(fullPath).c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    }
    // Opens a file as another program might: without sharing it at all.
    void holdWithoutSharing(const std::string& fullPath) {
        holder_ = CreateFileA(fullPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder_, INVALID_HANDLE_VALUE) << fullPath;
    }
    void release() {
        if (holder_ != INVALID_HANDLE_VALUE) CloseHandle(holder_);
        holder_ = INVALID_HANDLE_VALUE;
    }
    void TearDown() override { release(); }

    void expectNoTemporaryFiles() const {
        for (const std::string_view directory : {"", "xampp\\htdocs\\velko", "xampp\\apache\\conf"}) {
            for (const std::string& name : scratch.list(directory)) {
                EXPECT_FALSE(std::regex_match(name, std::regex("vlk.*\\.tmp", std::regex::icase)))
                    << name << " left in \"" << directory << "\"";
            }
        }
    }

    void expectTheFailureAndTheWindowKept(const std::vector<std::string>& shownBefore) const {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, "Velko Configurator");
        EXPECT_TRUE(std::regex_search(dialogs.messages[0].text, std::regex("^Error [0-9]+: ")))
            << dialogs.messages[0].text;
        EXPECT_TRUE(IsWindow(window->hwnd()));
        EXPECT_FALSE(dialogs.endedWith.has_value());
        EXPECT_EQ(shownConfiguration(), shownBefore);
        EXPECT_TRUE(menuCommandEnabled(optSave));
        EXPECT_TRUE(menuCommandEnabled(optExit));
    }

    // Injects the fault, saves, checks what it left, mends the fault and saves again.
    void saveThrough(const Fault& fault) {
        SCOPED_TRACE(fault.what);
        fault.inject();
        const std::vector<std::string> shownBefore = shownConfiguration();
        chooseMenu(optSave);
        expectTheFailureAndTheWindowKept(shownBefore);
        fault.mend();
        EXPECT_EQ(files(), expectedFiles(fault.outcome));
        expectNoTemporaryFiles();

        dialogs.messages.clear();
        chooseMenu(optSave);
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(files(), newFiles());
        expectNoTemporaryFiles();
    }

    HANDLE holder_ = INVALID_HANDLE_VALUE;
};

TEST_F(FailedSave, AReadOnlySettingsFileWritesNothing) {
    const std::string settings = path(relative::kSettings);
    saveThrough({"read-only settings file", [&] { setReadOnly(settings, true); }, [&] { setReadOnly(settings, false); },
                 kNothingWritten});
}

TEST_F(FailedSave, ASettingsFileHeldWithoutSharingWritesNothing) {
    saveThrough({"settings file held", [&] { holdWithoutSharing(path(relative::kSettings)); }, [&] { release(); },
                 kNothingWritten});
}

TEST_F(FailedSave, AReadOnlyPointerFileLeavesItOld) {
    const std::string pointer = scratch.path("xampp.txt");
    saveThrough({"read-only pointer file", [&] { setReadOnly(pointer, true); }, [&] { setReadOnly(pointer, false); },
                 kSettingsWritten});
}

TEST_F(FailedSave, APointerFileHeldWithoutSharingLeavesItOld) {
    saveThrough({"pointer file held", [&] { holdWithoutSharing(scratch.path("xampp.txt")); }, [&] { release(); },
                 kSettingsWritten});
}

TEST_F(FailedSave, AReadOnlyApacheConfigurationLeavesItOld) {
    const std::string configuration = path(relative::kApacheConfiguration);
    saveThrough({"read-only Apache configuration", [&] { setReadOnly(configuration, true); },
                 [&] { setReadOnly(configuration, false); }, kSettingsAndPointerWritten});
}

TEST_F(FailedSave, AnApacheConfigurationHeldWithoutSharingLeavesItOld) {
    saveThrough({"Apache configuration held", [&] { holdWithoutSharing(path(relative::kApacheConfiguration)); },
                 [&] { release(); }, kSettingsAndPointerWritten});
}

TEST_F(FailedSave, AMissingApacheConfigurationLeavesTheOthersWritten) {
    const std::string configuration = std::string(kSmallApacheConfiguration);
    saveThrough({"Apache configuration missing", [&] { drop(relative::kApacheConfiguration); },
                 [&] {
                     EXPECT_FALSE(has(relative::kApacheConfiguration));
                     put(relative::kApacheConfiguration, configuration);
                 },
                 kSettingsAndPointerWritten});
}

TEST_F(FailedSave, AXamppDirectoryThatDoesNotExistWritesNothing) {
    const std::string installation = xamppDirectory();
    saveThrough({"no such XAMPP directory", [&] { setTextOf(Control::txtPath, scratch.path("nowhere\\")); },
                 [&] { setTextOf(Control::txtPath, installation); }, kNothingWritten});
    EXPECT_FALSE(scratch.exists("nowhere"));
}

}  // namespace
}  // namespace velko::testing
