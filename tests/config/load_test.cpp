// Loading the configuration into the window from small installations on disk: versions, port,
// stored Apache lines, themes, settings, and every file missing in turn.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "current_directory.h"
#include "small_installation.h"

namespace velko::testing {
namespace {

using Loading = SmallInstallationTest;

struct ShownText {
    std::string fileContent;
    std::string shown;
};

TEST_F(Loading, ShowsTheXamppVersionOfTheChangeLogsFirstHeading) {
    const std::vector<ShownText> cases{
        {"XAMPP 1.6.0\r\n", "v1.6.0"},
        {"XAMPP version 1.6.0\r\n", "v1.6.0"},
        {"see xampp-readme\r\nXAMPP 1.7.3\r\n", "v1.7.3"},
        {"#XAMPP 9.9\r\nXAMPP 1.7.3\r\n", "v1.7.3"},
        {"20. December 2009 1.7.3\n\n* in a short path which follows the old DOS 8.3 naming\n", "v1.7.3"},
        {"ApacheFriends XAMPP\n\n08. April 2009 1.7.1 Beta5\n25. Sept 2008 XAMPP 1.6.8\n", "v1.7.1 Beta5"},
        {"30 Sept. 2006 XAMPP  1.5.4a\rXAMPP 1.5.3\r", "v1.5.4a"},
        {"Release notes only, Apache 2.2\r\n", "v"},
        {"", "v"},
    };
    installSmall();
    for (const ShownText& c : cases) {
        SCOPED_TRACE(c.fileContent);
        put(relative::kChangeLog, c.fileContent);
        ASSERT_TRUE(open());
        EXPECT_EQ(textOf(Control::lblXV), c.shown);
    }
}

TEST_F(Loading, ShowsTheVelkoVersionQuotedInTheMainScript) {
    const std::vector<ShownText> cases{
        {"$version = \"1.0\";\r\n", "v1.0"},
        {"use vars qw($version);\n$version = \"0.9.4\";\n", "v0.9.4"},
        {"$version =\"1.0\";\r\n", "v1.0"},
        {"$version = '1.0';\r\n", "v1.0"},
        {"$version = \"1.0;\r\n", "v"},
        {"our $VERSION = \"3.0-beta\"; # released\r\n", "v3.0-beta"},
        {"$version=\"1.0\";\r\n", "v"},  // no blank before "=": the key is not found
        {"$version = \"\";\r\n", "v"},
        {"print \"no version here\";\r\n", "v"},
    };
    installSmall();
    for (const ShownText& c : cases) {
        SCOPED_TRACE(c.fileContent);
        put(relative::kMainScript, c.fileContent);
        ASSERT_TRUE(open());
        EXPECT_EQ(textOf(Control::lblVV), c.shown);
    }
}

TEST_F(Loading, ReadsThePortOfTheFirstListenDirective) {
    const std::vector<ShownText> cases{
        {"Listen 80\r\nServerName localhost:80\r\n", "80"},
        {"ServerRoot \"C:/xampp/apache\"\nListen 80\nServerName localhost:80\n", "80"},
        {"Listen 0.0.0.0:80\r\n", "80"},
        {"Listen [::]:8080 http\n", "8080"},
        {"Listen 127.0.0.1:${PORT}\n", "${PORT}"},
        {"  Listen 80\r\n", "80"},
        {"#Listen 80\r\n    # Listen 81\nLISTEN 8080\r\nListen 443\r\n", "8080"},
        {"# old \\\r\nListen 80\r\nListen \\\r\n  81\r\n", "81"},
        {"#old port\rListen 8090\r\nListen 81\r", "81"},
        {"#ServerName localhost:80\r\n# The Listen directive\r\n", ""},
        {"", ""},
    };
    installSmall();
    for (const ShownText& c : cases) {
        SCOPED_TRACE(c.fileContent);
        put(relative::kApacheConfiguration, c.fileContent);
        ASSERT_TRUE(open());
        EXPECT_EQ(textOf(Control::txtWSP), c.shown);
    }
}

TEST_F(Loading, ListsTheThemeDirectoriesAndSelectsTheSavedThemeLetterCaseAside) {
    installSmall();
    scratch.remove(inXampp(relative::kThemes));
    addThemeDirectory("blue");
    addThemeDirectory("Red");
    addThemeDirectory("Classic");
    put(std::string(relative::kThemes) + "\\readme.txt", "not a theme");
    put(relative::kSettings, "theme\t\t= red\r\n");
    ASSERT_TRUE(open());
    EXPECT_EQ(themes(), (std::vector<std::string>{"blue", "Classic", "Red"}));
    EXPECT_EQ(selectedTheme(), "Red");
    // Letters beyond ASCII compare letter case aside too, in the system code page.
    addThemeDirectory("\xC4rger");
    put(relative::kSettings, "theme\t\t= \xE4rger\r\n");
    click(Control::cmdPathOK);
    EXPECT_EQ(selectedTheme(), "\xC4rger");
}

struct ThemeCase {
    std::string settings;
    std::string selected;
};

TEST_F(Loading, SelectsOnlyAThemeThatEqualsTheSettingWhole) {
    const std::vector<ThemeCase> cases{
        {"Theme\t= Blue\r\n", "blue"},
        {"#theme = blue\r\ntheme\t\t= red\r\n", "red"},
        {"theme\t\t= re\r\n", "(none)"},
        {"theme\t\t= red \r\n", "(none)"},
        {"theme\t\t= bluered\r\n", "(none)"},
        {"theme=blue\r\n", "(none)"},  // the value is "heme=blue"
        {"flvtool_exe\t= x\r\n", "(none)"},
    };
    installSmall();
    for (const ThemeCase& c : cases) {
        SCOPED_TRACE(c.settings);
        put(relative::kSettings, c.settings);
        ASSERT_TRUE(open());
        EXPECT_EQ(selectedTheme(), c.selected);
    }
}

TEST_F(Loading, AReloadListsEachThemeOnce) {
    installSmall();
    ASSERT_TRUE(open());
    click(Control::cmdPathOK);
    click(Control::cmdPathOK);
    EXPECT_EQ(themes(), (std::vector<std::string>{"blue", "red"}));
    addThemeDirectory("green");
    click(Control::cmdPathOK);
    EXPECT_EQ(themes(), (std::vector<std::string>{"blue", "green", "red"}));
    EXPECT_EQ(selectedTheme(), "red");
}

TEST_F(Loading, AReloadSelectsTheSavedThemeOverTheUsersChoice) {
    installSmall();
    ASSERT_TRUE(open());
    selectThemeNamed("blue");
    click(Control::cmdPathOK);
    EXPECT_EQ(selectedTheme(), "red");
}

TEST_F(Loading, AReloadKeepsTheSelectionWhenTheSettingsNameNoListedTheme) {
    const std::vector<std::string> settingsWithoutTheme{"theme\t\t= gone\r\n", "duration\t= 5\r\n"};
    installSmall();
    for (const std::string& settings : settingsWithoutTheme) {
        SCOPED_TRACE(settings);
        put(relative::kSettings, kSmallSettings);
        ASSERT_TRUE(open());
        selectThemeNamed("blue");
        put(relative::kSettings, settings);
        click(Control::cmdPathOK);
        EXPECT_EQ(selectedTheme(), "blue");
    }
    drop(relative::kSettings);
    click(Control::cmdPathOK);
    EXPECT_EQ(selectedTheme(), "blue");
}

TEST_F(Loading, AReloadDropsASelectionThatIsNoLongerListed) {
    installSmall();
    ASSERT_TRUE(open());
    selectThemeNamed("blue");
    put(relative::kSettings, "theme\t\t= gone\r\n");
    scratch.remove(inXampp(std::string(relative::kThemes) + "\\blue"));
    click(Control::cmdPathOK);
    EXPECT_EQ(themes(), std::vector<std::string>{"red"});
    EXPECT_EQ(selectedTheme(), "(none)");
}

struct SettingsCase {
    const char* what;
    std::string settings;
    // txtFLV, txtMencoder, txtMenOpts, txtLES, txtDriveList, selected theme
    std::vector<std::string> shown;
};

class LoadingSettings : public SmallInstallationTest {
protected:
    std::vector<std::string> shownSettings() const {
        return {textOf(Control::txtFLV), textOf(Control::txtMencoder), textOf(Control::txtMenOpts),
                textOf(Control::txtLES), textOf(Control::txtDriveList), selectedTheme()};
    }
};

TEST_F(LoadingSettings, FillsTheFieldsByTheValueRule) {
    const std::vector<SettingsCase> cases{
        {"as the configurator writes them", std::string(kSmallSettings),
         {"C:\\tools\\flvtool2", "C:\\tools\\mencoder", "-ovc lavc -oac mp3lame", "162", "C,D", "red"}},
        {"value rule cases",
         "flvtool_exe=C:\\f\r\nenc_exe\t\t= \r\nenc_opts\t= -a = b\r\nduration\t=   162  \r\ndrive_list\t= \xe9,\xff\r\n",
         {"lvtool_exe=C:\\f", "", "-a = b", "  162  ", "\xe9,\xff", "(none)"}},
        {"comments, extra keys and another order",
         "# written by hand\r\n#theme = red\r\ndrive_list\t= D\r\nextra\t= 1\r\nduration\t= 60\r\n"
         "enc_opts\t= -x\r\ntheme\t\t= blue\r\n#enc_exe = old\r\nenc_exe\t\t= m\r\nflvtool_exe\t= f\r\n",
         {"f", "m", "-x", "60", "D", "blue"}},
        {"a key hidden in an earlier value",
         "theme\t\t= red\r\nflvtool_exe\t= C:\\enc_exe\\flvtool2.exe\r\nenc_exe\t\t= C:\\mencoder.exe\r\n"
         "enc_opts\t= -endpos duration\r\nduration\t= 162\r\ndrive_list\t= C\r\n",
         {"C:\\enc_exe\\flvtool2.exe", "C:\\enc_exe\\flvtool2.exe", "-endpos duration", "-endpos duration", "C",
          "red"}},
        {"keys absent", "theme\t\t= blue\r\n", {"", "", "", "", "", "blue"}},
        {"an empty file", "", {"", "", "", "", "", "(none)"}},
        {"LF-only line ends make one line", "duration\t= 5\nenc_exe\t\t= m\n", {"", "5\nenc_exe\t\t= m\n", "", "5\nenc_exe\t\t= m\n", "", "(none)"}},
    };
    installSmall();
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.what);
        put(relative::kSettings, c.settings);
        ASSERT_TRUE(open());
        EXPECT_EQ(shownSettings(), c.shown);
    }
}

TEST_F(LoadingSettings, AReloadChangesOnlyTheFieldsWhoseKeyItFinds) {
    installSmall();
    ASSERT_TRUE(open());
    setTextOf(Control::txtFLV, "edited flv");
    setTextOf(Control::txtLES, "edited length");
    setTextOf(Control::txtDriveList, "edited drives");
    put(relative::kSettings, "duration\t= 60\r\n");
    click(Control::cmdPathOK);
    EXPECT_EQ(shownSettings(), (std::vector<std::string>{"edited flv", "C:\\tools\\mencoder", "-ovc lavc -oac mp3lame",
                                                          "60", "edited drives", "red"}));
}

TEST_F(LoadingSettings, AReloadDeterminesTheDirectoryAgainAndFillsTheFieldsAnew) {
    installSmall();
    ASSERT_TRUE(open());
    setTextOf(Control::txtPath, scratch.path("typed\\"));
    const std::string other = scratch.path("other\\");
    scratch.write("other\\xampp-changes.txt", "XAMPP 1.8.0\r\n");
    scratch.write("other\\htdocs\\velko\\index.pl", "$version = \"3.0\";\r\n");
    scratch.write("other\\apache\\conf\\httpd.conf", "Listen 8080\r\n");
    scratch.write("other\\htdocs\\velko\\config.dat", "duration\t= 30\r\n");
    scratch.write("other\\htdocs\\velko\\enc_opts.txt", "");
    scratch.makeDirectory("other\\htdocs\\velko\\themes\\green");
    scratch.write("xampp.txt", "xampp_dir\t= " + other + "\r\n");
    click(Control::cmdPathOK);
    EXPECT_EQ(textOf(Control::txtPath), other);
    EXPECT_EQ(textOf(Control::lblXV), "v1.8.0");
    EXPECT_EQ(textOf(Control::lblVV), "v3.0");
    EXPECT_EQ(textOf(Control::txtWSP), "8080");
    EXPECT_EQ(noted(other + "apache\\conf\\httpd.conf"), stampOf(std::string_view("Listen 8080\r\n")));
    EXPECT_EQ(themes(), std::vector<std::string>{"green"});
    EXPECT_EQ(textOf(Control::txtLES), "30");
    EXPECT_EQ(textOf(Control::txtFLV), "C:\\tools\\flvtool2");  // no key: kept
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Loading, LeavesNoFileOpen) {
    installSmall();
    ASSERT_TRUE(open());
    click(Control::cmdPathOK);
    for (const std::string& file : configurationFiles()) EXPECT_TRUE(openedByNobody(file)) << file;
}

// Each file missing in turn, at start-up: its targets stay as the window was created.
class LoadingWithoutAFile : public LoadingSettings {
protected:
    void SetUp() override { installSmall(); }
};

TEST_F(LoadingWithoutAFile, AMissingChangeLogLeavesTheBareXamppVersion) {
    drop(relative::kChangeLog);
    ASSERT_TRUE(open());
    EXPECT_EQ(textOf(Control::lblXV), "v");
    EXPECT_EQ(textOf(Control::lblVV), "v2.1");
    EXPECT_EQ(textOf(Control::txtWSP), "80");
}

TEST_F(LoadingWithoutAFile, AMissingMainScriptLeavesTheBareVelkoVersion) {
    drop(relative::kMainScript);
    ASSERT_TRUE(open());
    EXPECT_EQ(textOf(Control::lblXV), "v1.6.0");
    EXPECT_EQ(textOf(Control::lblVV), "v");
    EXPECT_EQ(textOf(Control::txtWSP), "80");
}

TEST_F(LoadingWithoutAFile, AMissingApacheConfigurationLeavesThePortEmpty) {
    drop(relative::kApacheConfiguration);
    ASSERT_TRUE(open());
    EXPECT_EQ(textOf(Control::txtWSP), "");
    EXPECT_EQ(noted(scratch.path(inXampp(relative::kApacheConfiguration))), FileStamp{});
    EXPECT_EQ(textOf(Control::lblVV), "v2.1");
    EXPECT_EQ(shownSettings()[4], "C,D");
}

// A reload shows the installation loaded now, not what the one before left in the window.
TEST_F(LoadingWithoutAFile, OnAReloadMissingSourcesShowNothingOfTheInstallationBefore) {
    ASSERT_TRUE(open());
    drop(relative::kApacheConfiguration);
    drop(relative::kChangeLog);
    put(relative::kMainScript, "print 1;\n");
    click(Control::cmdPathOK);
    EXPECT_EQ(textOf(Control::lblXV), "v");
    EXPECT_EQ(textOf(Control::lblVV), "v");
    EXPECT_EQ(textOf(Control::txtWSP), "");
    EXPECT_EQ(noted(scratch.path(inXampp(relative::kApacheConfiguration))), FileStamp{});
}

TEST_F(LoadingWithoutAFile, AMissingThemesDirectoryListsNoThemeNotEvenTheCurrentDirectorysOnes) {
    scratch.remove(inXampp(relative::kThemes));
    scratch.makeDirectory("current\\not a theme");
    const CurrentDirectory current(scratch.path("current"));
    ASSERT_TRUE(current.changed());
    ASSERT_TRUE(open());
    EXPECT_TRUE(themes().empty());
    EXPECT_EQ(selectedTheme(), "(none)");
    EXPECT_EQ(textOf(Control::txtLES), "162");
}

TEST_F(LoadingWithoutAFile, AMissingThemesDirectoryOnAReloadListsNoTheme) {
    ASSERT_TRUE(open());
    scratch.remove(inXampp(relative::kThemes));
    click(Control::cmdPathOK);
    EXPECT_TRUE(themes().empty());
    EXPECT_EQ(selectedTheme(), "(none)");
}

TEST_F(LoadingWithoutAFile, AMissingSettingsFileLeavesTheFieldsEmpty) {
    drop(relative::kSettings);
    ASSERT_TRUE(open());
    EXPECT_EQ(shownSettings(), (std::vector<std::string>{"", "", "", "", "", "(none)"}));
    EXPECT_EQ(themes(), (std::vector<std::string>{"blue", "red"}));
}

TEST_F(LoadingWithoutAFile, AMissingSettingsFileOnAReloadKeepsTheEdits) {
    ASSERT_TRUE(open());
    setTextOf(Control::txtMencoder, "edited");
    drop(relative::kSettings);
    click(Control::cmdPathOK);
    EXPECT_EQ(shownSettings(), (std::vector<std::string>{"C:\\tools\\flvtool2", "edited", "-ovc lavc -oac mp3lame",
                                                          "162", "C,D", "red"}));
}

TEST_F(LoadingWithoutAFile, EveryLoadingFileMissingLeavesTheWindowAsCreated) {
    for (const std::string_view file : {relative::kChangeLog, relative::kMainScript, relative::kApacheConfiguration,
                                        relative::kSettings})
        drop(file);
    scratch.remove(inXampp(relative::kThemes));
    ASSERT_TRUE(open());
    EXPECT_EQ(shownConfiguration(),
              (std::vector<std::string>{xamppDirectory(), "", "", "", "", "", "", "v", "v", "selected: (none)"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LoadingWithoutAFile, AMissingPresetFileAtStartUpEndsTheProgramWithFailure53) {
    drop(relative::kPresets);
    EXPECT_FALSE(open());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("53"), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].title, "Velko Configurator");
    EXPECT_EQ(dialogs.messages[0].owner, nullptr);  // the window was never shown
    EXPECT_EQ(dialogs.endedWith, 1u);
}

}  // namespace
}  // namespace velko::testing
