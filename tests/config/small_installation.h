#pragma once
// A small installation written file by file under the scratch directory, and what the window
// then shows of it.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "config/installation.h"
#include "server/installation_apache.h"
#include "window_fixture.h"

namespace velko::testing {

inline constexpr std::string_view kSmallChangeLog = "XAMPP 1.6.0\r\nReleased long ago\r\n";
inline constexpr std::string_view kSmallMainScript = "use strict;\r\n$version = \"2.1\";\r\n";
inline constexpr std::string_view kSmallApacheConfiguration =
    "ServerRoot \"C:/xampp/apache\"\r\nListen 80\r\nServerName localhost:80\r\nDocumentRoot \"C:/xampp/htdocs\"\r\n";
inline constexpr std::string_view kSmallSettings =
    "theme\t\t= red\r\n"
    "flvtool_exe\t= C:\\tools\\flvtool2\r\n"
    "enc_exe\t\t= C:\\tools\\mencoder\r\n"
    "enc_opts\t= -ovc lavc -oac mp3lame\r\n"
    "duration\t= 162\r\n"
    "drive_list\t= C,D\r\n";
inline constexpr std::string_view kSmallPresets = "Low\tsmall files\t-ovc lavc\r\nHigh\t-ovc x264\r\n";

class SmallInstallationTest : public WindowTest {
protected:
    // A path below the installation directory, relative to the scratch directory.
    static std::string inXampp(std::string_view relativePath) { return std::string(kXampp).append(relativePath); }

    void put(std::string_view relativePath, std::string_view bytes) const { scratch.write(inXampp(relativePath), bytes); }
    std::string get(std::string_view relativePath) const { return scratch.read(inXampp(relativePath)); }
    bool has(std::string_view relativePath) const { return scratch.exists(inXampp(relativePath)); }
    void drop(std::string_view relativePath) const { scratch.remove(inXampp(relativePath)); }
    void addThemeDirectory(std::string_view name) const {
        scratch.makeDirectory(inXampp(relative::kThemes) + "\\" + std::string(name));
    }

    // Every file that loading reads, themes "blue" and "red", and the pointer file naming it all.
    void installSmall() const {
        put(relative::kChangeLog, kSmallChangeLog);
        put(relative::kMainScript, kSmallMainScript);
        put(relative::kApacheConfiguration, kSmallApacheConfiguration);
        addThemeDirectory("blue");
        addThemeDirectory("red");
        put(relative::kSettings, kSmallSettings);
        put(relative::kPresets, kSmallPresets);
        pointAtInstallation();
    }

    // The stand-in for Apache's httpd.exe as the installation's own.
    void installStandInApache() const {
        scratch.makeDirectory(inXampp("apache\\bin"));
        ASSERT_TRUE(CopyFileA(VELKO_STAND_IN_HTTPD, scratch.path(inXampp(kApacheProgram)).c_str(), FALSE));
    }

    // No handle keeps the file open: it opens without any sharing.
    static bool openedByNobody(const std::string& fullPath) {
        const HANDLE exclusive = CreateFileA(fullPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (exclusive == INVALID_HANDLE_VALUE) return false;
        CloseHandle(exclusive);
        return true;
    }
    // The pointer file and every file of the installation that loading and saving touch.
    std::vector<std::string> configurationFiles() const {
        std::vector<std::string> files{scratch.path("xampp.txt")};
        for (const std::string_view file : {relative::kChangeLog, relative::kMainScript, relative::kApacheConfiguration,
                                            relative::kSettings, relative::kPresets})
            files.push_back(scratch.path(inXampp(file)));
        return files;
    }

    // What the last load or save noted of a file; nothing when it noted nothing.
    std::optional<FileStamp> noted(const std::string& fullPath) const {
        for (const NotedFile& file : window->loaded().files)
            if (file.path == fullPath) return file.stamp;
        return std::nullopt;
    }

    int themeCount() const {
        return static_cast<int>(SendMessageA(control(Control::cmbThemes), CB_GETCOUNT, 0, 0));
    }
    std::vector<std::string> themes() const {
        std::vector<std::string> names;
        for (int i = 0; i < themeCount(); ++i) names.push_back(window->theme(i));
        return names;
    }
    // The selected theme's name, or "(none)".
    std::string selectedTheme() const {
        const int index = window->selectedTheme();
        return index < 0 ? "(none)" : window->theme(index);
    }
    void selectThemeNamed(std::string_view name) const {
        for (int i = 0; i < themeCount(); ++i)
            if (window->theme(i) == name) window->selectTheme(i);
    }

    // What the user sees of the configuration: every field, both versions and the theme list.
    std::vector<std::string> shownConfiguration() const {
        std::vector<std::string> shown;
        for (const Control field : {Control::txtPath, Control::txtWSP, Control::txtFLV, Control::txtMencoder,
                                    Control::txtMenOpts, Control::txtLES, Control::txtDriveList, Control::lblXV,
                                    Control::lblVV})
            shown.push_back(textOf(field));
        shown.push_back("selected: " + selectedTheme());
        for (const std::string& theme : themes()) shown.push_back("theme: " + theme);
        return shown;
    }

    bool menuCommandEnabled(int command) const {
        return (GetMenuState(window->menuBar(), static_cast<UINT>(command), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
    }
};

}  // namespace velko::testing
