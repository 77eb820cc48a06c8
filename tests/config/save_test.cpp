// Saving: the settings file, the pointer file and Apache's configuration, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/config_files_on_disk.h"
#include "held_port.h"
#include "server/apache_processes.h"
#include "server/child_process.h"
#include "server/http_probe.h"
#include "small_installation.h"
#include "ui_text.h"
#include "win/program_paths.h"

namespace velko::testing {
namespace {

using namespace std::string_literals;

class Saving : public SmallInstallationTest {
protected:
    void SetUp() override { installSmall(); }

    void save() { chooseMenu(optSave); }

    static constexpr std::string_view kVirtualHosts = "apache\\conf\\extra\\httpd-vhosts.conf";

    // The three files a save writes, and the two a port change may move too, as they are now.
    std::vector<std::string> savedFiles() const {
        std::vector<std::string> files;
        for (const std::string& path : {inXampp(relative::kSettings), std::string("xampp.txt"), inXampp(relative::kApacheConfiguration),
                                        inXampp(kVirtualHosts), inXampp(relative::kControlPanelSettings)})
            files.push_back(scratch.exists(path) ? scratch.read(path) : "(missing)");
        return files;
    }

    // Saves and answers the one question, which says said, with No: nothing is written and the
    // window keeps what it shows. The question of the next save is answered Yes.
    void saveAnsweringNo(const std::string& said) {
        const std::vector<std::string> filesBefore = savedFiles();
        const std::vector<std::string> shownBefore = shownConfiguration();
        dialogs.messages.clear();
        dialogs.messageAnswers = {IDNO, IDYES};
        save();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].style, static_cast<UINT>(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2));
        EXPECT_EQ(dialogs.messages[0].owner, window->hwnd());
        EXPECT_EQ(dialogs.messages[0].title, "Velko Configurator");
        EXPECT_NE(dialogs.messages[0].text.find(said), std::string::npos) << dialogs.messages[0].text;
        EXPECT_EQ(savedFiles(), filesBefore);
        EXPECT_EQ(shownConfiguration(), shownBefore);
    }
};

TEST_F(Saving, WritesTheSixSettingsLinesWithTheirPadding) {
    put(relative::kSettings, "# comment\r\nextra = 1\r\n"s + std::string(kSmallSettings));
    ASSERT_TRUE(open());
    selectThemeNamed("blue");
    setTextOf(Control::txtFLV, "C:\\enc_exe\\flvtool2.exe");
    setTextOf(Control::txtMencoder, " C:\\mencoder.exe ");
    setTextOf(Control::txtMenOpts, "-ovc lavc = x -oac \xe9");
    setTextOf(Control::txtLES, "");
    setTextOf(Control::txtDriveList, "C,D,E");
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(get(relative::kSettings),
              "theme\t\t= blue\r\n"
              "flvtool_exe\t= C:\\enc_exe\\flvtool2.exe\r\n"
              "enc_exe\t\t=  C:\\mencoder.exe \r\n"
              "enc_opts\t= -ovc lavc = x -oac \xe9\r\n"
              "duration\t= \r\n"
              "drive_list\t= C,D,E\r\n");
}

// The stored theme is kept although no listed theme is selected: the user never chose another.
TEST_F(Saving, WritesTheThemeItLoadedWhenNoneIsSelected) {
    for (const auto& [settings, theme] : {std::pair{"theme\t\t= gone\r\n", "gone"}, std::pair{"duration\t= 1\r\n", ""}}) {
        SCOPED_TRACE(settings);
        put(relative::kSettings, settings);
        ASSERT_TRUE(open());
        save();
        EXPECT_EQ(get(relative::kSettings), "theme\t\t= "s + theme + "\r\nflvtool_exe\t= \r\nenc_exe\t\t= \r\nenc_opts\t= \r\n" +
                                                (*theme ? "duration\t= \r\n" : "duration\t= 1\r\n") + "drive_list\t= \r\n");
    }
}

TEST_F(Saving, WritesWhatItLoadedBackUnchanged) {
    ASSERT_TRUE(open());
    save();
    EXPECT_EQ(get(relative::kSettings), kSmallSettings);
    EXPECT_EQ(get(relative::kApacheConfiguration),
              "ServerRoot \"C:/xampp/apache\"\r\nlisten 80\r\nServerName localhost:80\r\n"
              "DocumentRoot \"C:/xampp/htdocs\"\r\n");
}

struct ChangeSinceLoad {
    const char* what;
    std::function<void()> change;
    const char* namedInTheQuestion;
    std::vector<std::string> afterYes;  // the three files; "" for one the change leaves as it is
};

// A file that another program has changed since the load is replaced only after a question:
// No keeps every byte and every edit, Yes saves the window into the files as they are now.
TEST_F(Saving, AsksBeforeReplacingAFileChangedSinceTheLoad) {
    const std::vector<ChangeSinceLoad> cases{
        {"an editor changed the Listen line",
         [this] { put(relative::kApacheConfiguration, "Listen 81\r\nX\r\nServerName localhost:80\r\n"); },
         "apache\\conf\\httpd.conf (changed)", {"", "", "listen 8080\r\nX\r\nServerName localhost:8080\r\n"}},
        {"the settings file was deleted", [this] { drop(relative::kSettings); }, "config.dat (deleted)",
         {std::string(kSmallSettings), "", ""}},
        {"the loaded directory typed in capitals, the settings file deleted",
         [this] { setTextOf(Control::txtPath, CharUpperA(xamppDirectory().data())); drop(relative::kSettings); },
         "config.dat (deleted)", {std::string(kSmallSettings), "", ""}},
        {"another directory typed, the pointer file changed", [this] {
             for (const char* file : {"other\\apache\\conf\\httpd.conf", "other\\htdocs\\velko\\config.dat", "xampp.txt"}) scratch.write(file, "");
             setTextOf(Control::txtPath, scratch.path("other\\"));
         }, "xampp.txt (changed)", {"", "xampp_dir\t= " + scratch.path("other\\") + "\r\n", ""}},
    };
    for (const ChangeSinceLoad& c : cases) {
        SCOPED_TRACE(c.what);
        installSmall();
        ASSERT_TRUE(open());
        setTextOf(Control::txtWSP, "8080");
        c.change();
        ASSERT_NO_FATAL_FAILURE(saveAnsweringNo(c.namedInTheQuestion));
        save();
        const std::vector<std::string> after = savedFiles();
        for (size_t file = 0; file < c.afterYes.size(); ++file)
            if (!c.afterYes[file].empty()) {
                EXPECT_EQ(after[file], c.afterYes[file]) << file;
            }
        save();
        EXPECT_EQ(dialogs.messages.size(), 2u) << "a save asks nothing about what the save before wrote";
    }
}

// A file changed while a question is open is asked about again right before the moves: No writes
// nothing; Yes saves the window into the files as they are then.
TEST_F(Saving, AsksAgainBeforeTheMovesAboutAFileChangedWhileAQuestionWasOpen) {
    ASSERT_TRUE(open());
    setTextOf(Control::txtWSP, "8080");
    drop(relative::kSettings);
    for (const int answer : {IDNO, IDYES}) {
        const std::string newer = std::string(kSmallApacheConfiguration) + "# " + std::to_string(answer) + "\r\n";
        dialogs.whileShown = [this, newer, asked = 0]() mutable { if (asked++ == 0) put(relative::kApacheConfiguration, newer); };
        dialogs.messages.clear();
        dialogs.messageAnswers = {IDYES, answer};
        save();
        ASSERT_EQ(dialogs.messages.size(), 2u);
        EXPECT_NE(dialogs.messages[1].text.find("httpd.conf (changed)"), std::string::npos) << dialogs.messages[1].text;
        EXPECT_EQ(has(relative::kSettings), answer == IDYES);
        EXPECT_EQ(get(relative::kApacheConfiguration), answer == IDNO ? newer : "ServerRoot \"C:/xampp/apache\"\r\nlisten 8080\r\n"
                  "ServerName localhost:8080\r\nDocumentRoot \"C:/xampp/htdocs\"\r\n# 6\r\n");
    }
}

// The whole server moves: the Listen pair, the virtual hosts of an included file and the control
// panel's port, after one question that names the other files; No writes nothing. A change to an
// included file since the load is asked about first.
TEST_F(Saving, MovesTheWholeServerAfterOneQuestionNamingTheOtherFiles) {
    put(relative::kApacheConfiguration,
        "Listen 0.0.0.0:80\r\nListen [::]:80\r\nServerName localhost:80\r\nInclude conf/extra/httpd-vhosts.conf\r\n");
    put(kVirtualHosts, "##<VirtualHost *:80>\r\n##</VirtualHost>\r\n");
    put(relative::kControlPanelSettings, "[Common]\r\nEditor=notepad.exe\r\n\r\n[ServicePorts]\r\nApache=80\r\nApacheSSL=443\r\n");
    ASSERT_TRUE(open());
    put(kVirtualHosts, "##<VirtualHost *:80>\r\n##</VirtualHost>\r\n<VirtualHost *:80 [::1]:80>\r\n</VirtualHost>\r\n");
    setTextOf(Control::txtWSP, "8080");
    const std::vector<std::string> before = savedFiles();
    const std::string virtualHosts = scratch.path(inXampp(kVirtualHosts));
    for (const int answer : {IDNO, IDYES}) {
        dialogs.messages.clear();
        dialogs.messageAnswers = {IDYES, answer};
        save();
        ASSERT_EQ(dialogs.messages.size(), 2u);
        EXPECT_NE(dialogs.messages[0].text.find(virtualHosts + " (changed)"), std::string::npos) << dialogs.messages[0].text;
        EXPECT_NE(dialogs.messages[1].text.find("port 8080 changes these files as well:\n\n" + virtualHosts + " (also names port 80)\n" +
                  scratch.path(inXampp(relative::kControlPanelSettings)) + " (the control panel's port for Apache)\n\nSave"), std::string::npos);
        EXPECT_EQ(savedFiles() == before, answer == IDNO);
    }
    EXPECT_EQ(savedFiles(), (std::vector<std::string>{std::string(kSmallSettings), "xampp_dir\t= " + xamppDirectory() + "\r\n",
                                        "listen 0.0.0.0:8080\r\nListen [::]:8080\r\nServerName localhost:8080\r\nInclude conf/extra/httpd-vhosts.conf\r\n",
                                        "##<VirtualHost *:80>\r\n##</VirtualHost>\r\n<VirtualHost *:8080 [::1]:8080>\r\n</VirtualHost>\r\n",
                                        "[Common]\r\nEditor=notepad.exe\r\n\r\n[ServicePorts]\r\nApache=8080\r\nApacheSSL=443\r\n"}));
}

TEST_F(Saving, ReplacesThePointerFileWithOneLine) {
    scratch.write("xampp.txt", "xampp_dir\t= " + xamppDirectory() + "\r\nxampp_dir\t= D:\\other\\\r\n");
    ASSERT_TRUE(open());
    save();
    EXPECT_EQ(scratch.read("xampp.txt"), "xampp_dir\t= " + xamppDirectory() + "\r\n");
}

TEST_F(Saving, WritesThePathFieldAsItStandsIntoThePointerFile) {
    ASSERT_TRUE(open());
    scratch.copyDemo("copy");
    setTextOf(Control::txtPath, scratch.path("copy\\"));
    save();
    EXPECT_EQ(scratch.read("xampp.txt"), "xampp_dir\t= " + scratch.path("copy\\") + "\r\n");
    EXPECT_EQ(scratch.read("copy\\htdocs\\velko\\config.dat"), kSmallSettings);
    EXPECT_EQ(get(relative::kSettings), kSmallSettings);
}

struct ApacheCase {
    const char* what;
    std::string before;
    std::string port;
    std::string after;
    std::optional<std::string> apache = {};  // no httpd.exe; "" when it accepts; its refusal, quoted
};

// The edit's rules stand in the native tables; here the file the real save writes, which the
// installation's httpd.exe checks as saved (line numbers too): its refusal leaves every file as it was.
TEST_F(Saving, ChangesOnlyTheFirstListenAndServerNameDirectives) {
    put("apache\\conf\\extra\\refused.conf", "\r\nStandInRefuses\r\n");
    const std::string refused = ":\nInvalid command 'StandInRefuses', perhaps misspelled or defined by a module not "
                                "included in the server configuration\n\nMend";
    const std::vector<ApacheCase> cases{
        {"an ordinary file", std::string(kSmallApacheConfiguration), "8080",
         "ServerRoot \"C:/xampp/apache\"\r\nlisten 8080\r\nServerName localhost:8080\r\n"
         "DocumentRoot \"C:/xampp/htdocs\"\r\n", ""},
        {"a commented copy stays", "#Listen 80\r\nListen 80\r\nServerName localhost:80\r\n", "81",
         "#Listen 80\r\nlisten 81\r\nServerName localhost:81\r\n"},
        {"a continued Listen and a Listen continuing a comment", "# old \\\nListen 80\nListen \\\n  80 http\n", "081",
         "# old \\\nListen 80\nlisten 81 http\n"},
        {"a lone CR is a byte of its line, no line end is added", "#old port\rListen 8090\r\nListen 80\r\nServerName localhost:80",
         "81", "#old port\rListen 8090\r\nlisten 81\r\nServerName localhost:81"},
        {"LF line ends stay", "# c\nListen 80\nServerName localhost:80\nX\n", "81",
         "# c\nlisten 81\nServerName localhost:81\nX\n"},
        {"a variable port keeps its address", "Listen 127.0.0.1:${PORT} http\n", "8080", "listen 127.0.0.1:8080 http\n"},
        {"an empty port leaves the text as it is", "Listen 80\r\nServerName localhost:80\rX\n", "",
         "Listen 80\r\nServerName localhost:80\rX\n"},
        {"a file with no lines", "", "81", ""},
        {"Apache refuses httpd.conf", "Listen \\\r\n 80\r\nStandInRefuses on\r\n", "81", "Listen \\\r\n 80\r\nStandInRefuses on\r\n",
         "AH00526: Syntax error on line 2 of " + scratch.path(inXampp(relative::kApacheConfiguration)) + refused},
        {"Apache refuses an included file", "Listen 80\nInclude conf/extra/refused.conf\n", "81",
         "Listen 80\nInclude conf/extra/refused.conf\n",
         "AH00526: Syntax error on line 2 of " + scratch.path(inXampp("apache\\conf\\extra\\refused.conf")) + refused},
    };
    for (const ApacheCase& c : cases) {
        SCOPED_TRACE(c.what);
        put(relative::kApacheConfiguration, c.before);
        c.apache ? installStandInApache() : drop(kApacheProgram);
        ASSERT_TRUE(open());
        setTextOf(Control::txtWSP, c.port);
        setTextOf(Control::txtLES, c.what);
        const std::vector<std::string> filesBefore = savedFiles();
        dialogs.messages.clear();
        save();
        ASSERT_EQ(dialogs.messages.size(), c.apache.value_or("").empty() ? 0u : 1u);
        EXPECT_EQ(get(relative::kApacheConfiguration), c.after);
        if (!c.apache.value_or("").empty()) {
            EXPECT_NE(dialogs.messages[0].text.find(*c.apache), std::string::npos) << dialogs.messages[0].text;
            EXPECT_EQ(savedFiles(), filesBefore);
        }
    }
}

TEST_F(Saving, RewritesALargeApacheConfigurationCompletely) {
    constexpr int kLines = 100'000;
    std::string before, after;
    for (int i = 0; i < kLines; ++i) {
        const std::string line = "# line " + std::to_string(i) + " of a long configuration";
        if (i == kLines / 2) {
            before += "Listen 80\r\n";
            after += "listen 8080\r\n";
        } else if (i == kLines - 1) {
            before += "ServerName localhost:80";  // no terminator
            after += "ServerName localhost:8080";
        } else {
            before += line + "\r\n";
            after += line + "\r\n";
        }
    }
    put(relative::kApacheConfiguration, before);
    ASSERT_TRUE(open());
    setTextOf(Control::txtWSP, "8080");
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(get(relative::kApacheConfiguration), after);
}

TEST_F(Saving, ChangesOnlyTheTwoLinesOfAFullSizeConfigurationWithLfLineEnds) {
    scratch.copyDemo("demo");
    std::string before = scratch.read("demo\\apache\\conf\\httpd.conf");
    std::erase(before, '\r');
    std::string after = before;
    for (const auto& [line, edited] : {std::pair{"\nListen 80\n", "\nlisten 8080\n"},
                                       std::pair{"\nServerName localhost:80\n", "\nServerName localhost:8080\n"}}) {
        const size_t at = after.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        after.replace(at, std::string_view(line).size(), edited);
    }
    put(relative::kApacheConfiguration, before);
    ASSERT_TRUE(open());
    EXPECT_EQ(textOf(Control::txtWSP), "80");
    setTextOf(Control::txtWSP, "8080");
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(get(relative::kApacheConfiguration), after);
}

TEST_F(Saving, ASecondSaveWithoutReloadAppliesTheNewPort) {
    ASSERT_TRUE(open());
    setTextOf(Control::txtWSP, "8080");
    save();
    setTextOf(Control::txtWSP, "9090");
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(get(relative::kApacheConfiguration),
              "ServerRoot \"C:/xampp/apache\"\r\nlisten 9090\r\nServerName localhost:9090\r\n"
              "DocumentRoot \"C:/xampp/htdocs\"\r\n");
}

TEST_F(Saving, LeavesNoFileOpen) {
    ASSERT_TRUE(open());
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    for (const std::string& file : configurationFiles()) EXPECT_TRUE(openedByNobody(file)) << file;
}

TEST_F(Saving, EnablesSaveAndExitAgainAfterwards) {
    ASSERT_TRUE(open());
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(menuCommandEnabled(optSave));
    EXPECT_TRUE(menuCommandEnabled(optExit));
}

// What the user does while the save handles events waits for the next save: the save writes
// what the window held when it began, and nothing reloads in the middle of it.
TEST_F(Saving, DisablesItsCommandsWhileItHandlesEventsAndWritesWhatItTookAtTheStart) {
    std::string comments;
    for (int line = 0; line < 100'000; ++line) comments += "# comment\r\n";
    put(relative::kApacheConfiguration, std::string(kSmallApacheConfiguration) + "\r\n" + comments);
    ASSERT_TRUE(open());
    pump();
    setTextOf(Control::txtWSP, "8080");
    std::vector<bool> enabledMeanwhile;
    {
        const DuringTheSave meanwhile([&] {
            enabledMeanwhile = {menuCommandEnabled(optSave), menuCommandEnabled(optExit)};
            for (const Control button : {Control::cmdPathOK, Control::cmdMO, Control::cmdLOS, Control::cmdBFLV})
                enabledMeanwhile.push_back(IsWindowEnabled(control(button)));
            setTextOf(Control::txtWSP, "9999");
            click(Control::cmdPathOK);
        });
        save();
    }
    EXPECT_EQ(enabledMeanwhile, std::vector<bool>(6, false));
    EXPECT_EQ(get(relative::kApacheConfiguration),
              "ServerRoot \"C:/xampp/apache\"\r\nlisten 8080\r\nServerName localhost:8080\r\n"
              "DocumentRoot \"C:/xampp/htdocs\"\r\n\r\n" + comments);
    EXPECT_EQ(textOf(Control::txtWSP), "9999");
    EXPECT_TRUE(menuCommandEnabled(optSave));
    EXPECT_TRUE(menuCommandEnabled(optExit));
    EXPECT_TRUE(IsWindowEnabled(control(Control::cmdPathOK)));
}

TEST_F(Saving, ClosingTheWindowDuringTheSaveLetsItCompleteThenEndsTheProgram) {
    ASSERT_TRUE(open());
    pump();
    setTextOf(Control::txtWSP, "8080");
    const HWND main = window->hwnd();
    {
        const DuringTheSave meanwhile([&] { SendMessageA(main, WM_CLOSE, 0, 0); });
        save();
    }
    EXPECT_EQ(dialogs.endedWith, 0u);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(get(relative::kSettings), kSmallSettings);
    EXPECT_EQ(scratch.read("xampp.txt"), "xampp_dir\t= " + xamppDirectory() + "\r\n");
    EXPECT_EQ(get(relative::kApacheConfiguration),
              "ServerRoot \"C:/xampp/apache\"\r\nlisten 8080\r\nServerName localhost:8080\r\n"
              "DocumentRoot \"C:/xampp/htdocs\"\r\n");
}

struct LineBreakCase {
    Control field;
    std::string label;
};

TEST_F(Saving, RefusesALineBreakInAnySavedFieldNamingTheFieldAndWritingNothing) {
    const std::vector<LineBreakCase> cases{
        {Control::txtPath, "XAMPP Path:"},      {Control::txtWSP, "Web Server Port:"},
        {Control::txtFLV, "FLV Tool Path:"},    {Control::txtMencoder, "Mencoder Path:"},
        {Control::txtMenOpts, "Mencoder Options:"}, {Control::txtLES, "Length Of Segments (/secs):"},
        {Control::txtDriveList, "Drive List:"},
    };
    ASSERT_TRUE(open());
    const std::vector<std::string> filesBefore = savedFiles();
    for (const LineBreakCase& c : cases) {
        for (const std::string_view lineBreak : {"\r", "\n", "\r\n"}) {
            SCOPED_TRACE(c.label + " " + std::to_string(lineBreak.size()));
            const std::string kept = textOf(c.field);
            setTextOf(c.field, "first" + std::string(lineBreak) + "second");
            const std::vector<std::string> shownBefore = shownConfiguration();
            dialogs.messages.clear();
            save();
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_NE(dialogs.messages[0].text.find("\"" + c.label + "\""), std::string::npos) << dialogs.messages[0].text;
            EXPECT_EQ(dialogs.messages[0].title, "Velko Configurator");
            EXPECT_EQ(savedFiles(), filesBefore);
            EXPECT_EQ(shownConfiguration(), shownBefore);
            EXPECT_TRUE(menuCommandEnabled(optSave));
            EXPECT_TRUE(menuCommandEnabled(optExit));
            setTextOf(c.field, kept);
        }
    }
    EXPECT_TRUE(IsWindow(window->hwnd()));
    EXPECT_FALSE(dialogs.endedWith.has_value());
}

// A changed port that Apache would refuse, or that another Listen directive of the whole
// configuration names as a number, is refused before anything is written, and the field keeps it.
TEST_F(Saving, RefusesAPortApacheWouldRefuseOrAnotherListenDirectiveNames) {
    put(relative::kApacheConfiguration,
        "ServerRoot \"C:/xampp/apache\"\r\nListen 80\r\nListen 127.0.0.1:08080\r\nServerName localhost:80\r\n"
        "Include \"conf/extra/httpd-ssl.conf\"\r\n");
    put("apache\\conf\\extra\\httpd-ssl.conf", "# SSL\r\nListen 443\r\n");
    ASSERT_TRUE(open());
    const std::vector<std::string> filesBefore = savedFiles();
    const std::string ssl = scratch.path(inXampp("apache\\conf\\extra\\httpd-ssl.conf"));
    for (const auto& [port, said] : {std::pair{"70000", std::string("\"Web Server Port:\"")}, std::pair{"127.0.0.1:81", std::string("65535")},
                                     std::pair{"8080", "on port 8080 in " + scratch.path(inXampp(relative::kApacheConfiguration)) +
                                                           ", line 3: \"Listen 127.0.0.1:08080\""},
                                     std::pair{"0443", "on port 443 in " + ssl + ", line 2: \"Listen 443\""}}) {
        SCOPED_TRACE(port);
        setTextOf(Control::txtWSP, port);
        dialogs.messages.clear();
        save();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_NE(dialogs.messages[0].text.find(said), std::string::npos) << dialogs.messages[0].text;
        EXPECT_EQ(savedFiles(), filesBefore);
        EXPECT_EQ(textOf(Control::txtWSP), port);
    }
    setTextOf(Control::txtWSP, "08081");
    dialogs.messages.clear();
    save();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_NE(get(relative::kApacheConfiguration).find("\r\nlisten 8081\r\nListen 127.0.0.1:08080\r\nServerName localhost:8081\r\n"),
              std::string::npos);
}

// The included files on the disk: Wine's drive Z: is the Unix root, so a folder reached through
// it and through the link that is drive C: is one folder.
TEST_F(Saving, ReadsIncludedFilesNoLargerThanAskedAndKnowsAFolderWhicheverPathLeadsToIt) {
    const std::string conf = scratch.path(inXampp("apache\\conf"));
    const std::string viaZ = "Z:" + unixPathOf(conf);
    const ConfigFilesOnDisk disk;
    const auto folder = disk.folder(conf, 1), linked = disk.folder(viaZ, 1);
    ASSERT_TRUE(folder && linked);
    EXPECT_EQ(linked->identity, folder->identity);
    EXPECT_EQ(folder->names, std::vector<std::string>{"httpd.conf"});
    EXPECT_FALSE(disk.folder(conf, 0) || disk.folder(conf + "\\httpd.conf", 9) || disk.read(conf, 9));
    EXPECT_EQ(disk.read(viaZ + "/httpd.conf", 1000), std::string(kSmallApacheConfiguration));
    EXPECT_FALSE(disk.read(conf + "\\httpd.conf", std::string(kSmallApacheConfiguration).size() - 1));
}

// A new port that another program holds is saved only when the user says so; the port the
// configuration holds is never questioned, and a free one saves without a word.
TEST_F(Saving, AsksBeforeSavingAPortThatAnotherProgramHolds) {
    for (const char* address : {"127.0.0.1", "0.0.0.0"}) {
        SCOPED_TRACE(address);
        const HeldPort held(address);
        put(relative::kApacheConfiguration, kSmallApacheConfiguration);
        ASSERT_TRUE(open());
        setTextOf(Control::txtWSP, held.port());
        setTextOf(Control::txtLES, "99");
        ASSERT_NO_FATAL_FAILURE(saveAnsweringNo("Port " + held.port() + " is held by another program.\n\nApache cannot "
                                                "listen on port " + held.port() + " while it is held"));

        save();  // Yes
        EXPECT_NE(get(relative::kApacheConfiguration).find("\r\nlisten " + held.port() + "\r\n"), std::string::npos);
        EXPECT_NE(get(relative::kSettings).find("duration\t= 99\r\n"), std::string::npos);
        save();
        ASSERT_TRUE(open());
        setTextOf(Control::txtWSP, "0" + held.port());  // the configuration's own port, as a number
        save();
        setTextOf(Control::txtWSP, HeldPort().port());
        save();
        EXPECT_EQ(dialogs.messages.size(), 2u);
    }
}

// A new port while this installation's Apache runs asks to restart it, and No saves the port, leaves
// Apache on the old one and says when the new one takes effect. Another installation's Apache, run
// from a copy of the same program, is neither asked about nor touched.
TEST_F(Saving, AsksBeforeRestartingTheInstallationsOwnRunningApacheOnly) {
    const auto [oldPort, newPort] = twoFreePorts();
    const ServerProgress quiet{[](std::string_view) {}, [] {}};
    const auto answersOn = [&](const std::string& port) {
        return waitUntil(quiet, std::chrono::seconds(10), [&] { return answersHttp({"127.0.0.1", uint16_t(std::stoi(port))}, quiet); });
    };
    for (const std::string& folder : {std::string("other\\"), std::string(kXampp)}) {
        const std::string program = scratch.path(folder + std::string(kApacheProgram));
        scratch.write(folder + std::string(kApacheProgram), readBytes(VELKO_STAND_IN_HTTPD));
        scratch.write(folder + std::string(relative::kApacheConfiguration), "Listen " + oldPort + "\r\n");
        startDetached({program, {}, scratch.path(folder)});
        put(relative::kApacheConfiguration, "Listen " + oldPort + "\r\n");
        ASSERT_TRUE(open());
        setTextOf(Control::txtWSP, newPort);
        dialogs.messages.clear();
        save();
        const std::vector<std::string> said = {text::filled(text::kRestartQuestion, {oldPort, newPort}),
                                               text::filled(text::kRestartDeclined, {oldPort, newPort})};
        ASSERT_EQ(dialogs.messages.size(), folder == kXampp ? 2u : 0u);
        for (size_t i = 0; i < dialogs.messages.size(); ++i) EXPECT_EQ(dialogs.messages[i].text, said[i]);
        EXPECT_EQ(get(relative::kApacheConfiguration), "listen " + newPort + "\r\n");
        EXPECT_TRUE(answersOn(oldPort));
        stopProcesses(processesOf(*finalPathOf(program)), quiet);
    }
}

TEST_F(Saving, RefusesALineBreakInTheSelectedThemeNamingTheField) {
    ASSERT_TRUE(open());
    const std::vector<std::string> filesBefore = savedFiles();
    const HWND list = control(Control::cmbThemes);
    SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("bad\r\nname")), 0);
    save();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("\"Current Theme:\""), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(savedFiles(), filesBefore);
    EXPECT_EQ(selectedTheme(), "bad\r\nname");
}

}  // namespace
}  // namespace velko::testing
