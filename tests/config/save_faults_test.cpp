// Saves that fail on real faults: all three files stay as they were, no temporary file is left,
// and the window keeps its edits so that the user can save again. Files a save replaces keep
// their attributes and security.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "small_installation.h"

namespace velko::testing {
namespace {

struct Fault {
    const char* what;
    std::function<void()> inject;
    std::function<void()> mend;
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
                EXPECT_FALSE(std::regex_match(name, std::regex(".*\\.velko-(new|old|journal)")))
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
        EXPECT_EQ(files(), oldFiles());
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
    saveThrough({"read-only settings file", [&] { setReadOnly(settings, true); }, [&] { setReadOnly(settings, false); }});
}

TEST_F(FailedSave, ASettingsFileHeldWithoutSharingWritesNothing) {
    saveThrough({"settings file held", [&] { holdWithoutSharing(path(relative::kSettings)); }, [&] { release(); }});
}

TEST_F(FailedSave, AReadOnlyPointerFileWritesNothing) {
    const std::string pointer = scratch.path("xampp.txt");
    saveThrough({"read-only pointer file", [&] { setReadOnly(pointer, true); }, [&] { setReadOnly(pointer, false); }});
}

TEST_F(FailedSave, APointerFileHeldWithoutSharingWritesNothing) {
    saveThrough({"pointer file held", [&] { holdWithoutSharing(scratch.path("xampp.txt")); }, [&] { release(); }});
}

TEST_F(FailedSave, AReadOnlyApacheConfigurationWritesNothing) {
    const std::string configuration = path(relative::kApacheConfiguration);
    saveThrough({"read-only Apache configuration", [&] { setReadOnly(configuration, true); },
                 [&] { setReadOnly(configuration, false); }});
}

TEST_F(FailedSave, AnApacheConfigurationHeldWithoutSharingWritesNothing) {
    saveThrough({"Apache configuration held", [&] { holdWithoutSharing(path(relative::kApacheConfiguration)); },
                 [&] { release(); }});
}

TEST_F(FailedSave, AMissingApacheConfigurationWritesNothing) {
    const std::string configuration = std::string(kSmallApacheConfiguration);
    saveThrough({"Apache configuration missing", [&] { drop(relative::kApacheConfiguration); },
                 [&] {
                     EXPECT_FALSE(has(relative::kApacheConfiguration));
                     put(relative::kApacheConfiguration, configuration);
                 }});
}

TEST_F(FailedSave, AXamppDirectoryThatDoesNotExistWritesNothing) {
    const std::string installation = xamppDirectory();
    saveThrough({"no such XAMPP directory", [&] { setTextOf(Control::txtPath, scratch.path("nowhere\\")); },
                 [&] { setTextOf(Control::txtPath, installation); }});
    EXPECT_FALSE(scratch.exists("nowhere"));
}

// A replaced file keeps what the administrator gave it.
class SavedFileProperties : public FailedSave {
protected:
    static DWORD keptAttributes(const std::string& fullPath) {
        return GetFileAttributesA(fullPath.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    static std::string accessListOf(const std::string& fullPath) {
        DWORD size = 0;
        GetFileSecurityA(fullPath.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
        std::string descriptor(size, '\0');
        char* text = nullptr;
        if (!GetFileSecurityA(fullPath.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
            !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1,
                                                                  DACL_SECURITY_INFORMATION, &text, nullptr))
            return "(unreadable)";
        const std::string list = text;
        LocalFree(text);
        return list;
    }
};

TEST_F(SavedFileProperties, HiddenAndSystemFilesStaySo) {
    const std::string pointer = scratch.path("xampp.txt");
    const std::string settings = path(relative::kSettings);
    ASSERT_TRUE(SetFileAttributesA(pointer.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    chooseMenu(optSave);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(files(), newFiles());
    EXPECT_EQ(keptAttributes(pointer), DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(keptAttributes(settings), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_EQ(keptAttributes(path(relative::kApacheConfiguration)), 0u);
}

// Everyone may only read the file: an access list that a new file does not get.
TEST_F(SavedFileProperties, TheAccessListOfTheApacheConfigurationStays) {
    const std::string configuration = path(relative::kApacheConfiguration);
    const std::string everyoneReads =
        std::regex_replace(accessListOf(configuration), std::regex("\\(A;;[^;]*;;;WD\\)"), "") + "(A;;FR;;;WD)";
    PSECURITY_DESCRIPTOR wanted = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(everyoneReads.c_str(), SDDL_REVISION_1, &wanted,
                                                                     nullptr));
    const bool set = SetFileSecurityA(configuration.c_str(), DACL_SECURITY_INFORMATION, wanted);
    LocalFree(wanted);
    ASSERT_TRUE(set);
    const std::string before = accessListOf(configuration);
    scratch.write("new.txt", "");
    if (before == accessListOf(scratch.path("new.txt"))) GTEST_SKIP() << "this file system keeps no access list";
    chooseMenu(optSave);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(files(), newFiles());
    EXPECT_EQ(accessListOf(configuration), before);
}

}  // namespace
}  // namespace velko::testing
