// Where the XAMPP directory comes from: the pointer file, the default location and the prompt,
// and how the pointer file is written.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/installation.h"
#include "current_directory.h"
#include "small_installation.h"

namespace velko::testing {
namespace {

constexpr std::string_view kPromptTitle = "Velko Configuration";
constexpr std::string_view kPromptText = "Please enter the location of your xampp directory";
constexpr std::string_view kPromptDefault = "C:\\Program Files\\xampp\\";

// The default location exists as a directory, so that only the pointer file or the prompt can
// name the installation.
class XamppDirectory : public SmallInstallationTest {
protected:
    XamppDirectory() {
        scratch.write("Program Files\\xampp\\readme.txt", "a directory, not a file");
        locations.defaultLocation = scratch.path("Program Files\\xampp");
    }

    // Runs the first steps of a load on the open window, as a reload would, with scripted answers.
    void determine(std::vector<std::optional<std::string>> answers) {
        dialogs.prompts.clear();
        dialogs.promptAnswers.assign(answers.begin(), answers.end());
        determineXamppDirectory(*window, paths());
    }

    void expectEveryPromptWithItsTitleTextAndDefault() const {
        for (const AskedText& asked : dialogs.prompts) {
            EXPECT_EQ(asked.title, kPromptTitle);
            EXPECT_EQ(asked.prompt, kPromptText);
            EXPECT_EQ(asked.defaultAnswer, kPromptDefault);
        }
    }
};

struct PointerCase {
    std::string pointerFile;
    std::string xamppPath;
    size_t prompts;
};

TEST_F(XamppDirectory, TakesThePointerValueOrPromptsWhenThereIsNone) {
    const std::string answer = xamppDirectory();
    const std::vector<PointerCase> cases{
        {"xampp_dir\t= D:\\xampp\\\r\n", "D:\\xampp\\", 0},
        {"XAMPP_DIR = D:\\x\\\r\n", "D:\\x\\", 0},
        {"xampp_dir=D:\\x\\\r\n", "ampp_dir=D:\\x\\", 0},
        {"xampp_dir\t= D:\\no separator", "D:\\no separator", 0},
        {"  xampp_dir = D:\\y\\ \r\n", "D:\\y\\ ", 0},
        {"xampp_dir\t= D:\\first\\\r\nxampp_dir\t= D:\\second\\\r\n", "D:\\first\\", 0},
        {"#xampp_dir = D:\\x\\\r\nxampp_dir\t= D:\\z\\\r\n", "D:\\z\\", 0},
        {"#xampp_dir = D:\\x\\\r\n", answer, 1},
        {"xampp_dir\t= \r\n", answer, 1},
        {"other = D:\\x\\\r\n", answer, 1},
        {"", answer, 1},
    };
    installSmall();
    ASSERT_TRUE(open());
    for (const PointerCase& c : cases) {
        SCOPED_TRACE(c.pointerFile);
        scratch.write("xampp.txt", c.pointerFile);
        setTextOf(Control::txtPath, "typed\\");
        determine({answer});
        EXPECT_EQ(textOf(Control::txtPath), c.xamppPath);
        EXPECT_EQ(dialogs.prompts.size(), c.prompts);
    }
    expectEveryPromptWithItsTitleTextAndDefault();
}

struct PromptCase {
    const char* what;
    std::vector<std::optional<std::string>> answers;  // below the scratch directory
    std::string xamppPath;                            // below the scratch directory
    size_t prompts;
};

// Every answer of the prompt's table; a refused answer is followed by the installation.
TEST_F(XamppDirectory, ThePromptAcceptsOnlyAnswersThatFindAnOrdinaryFile) {
    const std::string good = std::string(kXampp);
    const std::vector<PromptCase> cases{
        {"a directory with \\ that holds a file", {good}, good, 1},
        {"the same directory without \\", {"xampp", good}, good, 2},
        {"a directory of subdirectories only", {"only subdirectories\\", good}, good, 2},
        {"an empty directory", {"empty\\", good}, good, 2},
        {"paths that do not exist", {"missing\\", "missing", "xampp\\missing.txt", good}, good, 4},
        {"an ordinary file", {"xampp\\xampp-changes.txt"}, "xampp\\xampp-changes.txt\\", 1},
        {"a pattern that finds a file", {"xampp\\*.txt"}, "xampp\\*.txt\\", 1},
        {"a pattern that finds none", {"xampp\\*.none", good}, good, 2},
        {"a hidden file", {"xampp\\hidden.txt", good}, good, 2},
    };
    installSmall();
    scratch.makeDirectory("only subdirectories\\sub");
    scratch.makeDirectory("empty");
    put("hidden.txt", "hidden");
    SetFileAttributesA(scratch.path(inXampp("hidden.txt")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(open());
    scratch.remove("xampp.txt");
    for (const PromptCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::optional<std::string>> answers;
        for (const std::optional<std::string>& answer : c.answers) answers.push_back(scratch.path(*answer));
        determine(answers);
        EXPECT_EQ(textOf(Control::txtPath), scratch.path(c.xamppPath));
        EXPECT_EQ(dialogs.prompts.size(), c.prompts);
        expectEveryPromptWithItsTitleTextAndDefault();
    }
}

TEST_F(XamppDirectory, AnEmptyAnswerSearchesTheCurrentDirectory) {
    installSmall();
    scratch.write("current with a file\\file.txt", "x");
    scratch.makeDirectory("current without a file\\sub");
    ASSERT_TRUE(open());
    scratch.remove("xampp.txt");
    {
        const CurrentDirectory current(scratch.path("current with a file"));
        ASSERT_TRUE(current.changed());
        determine({""});
        EXPECT_EQ(textOf(Control::txtPath), "\\");
        EXPECT_EQ(dialogs.prompts.size(), 1u);
    }
    {
        const CurrentDirectory current(scratch.path("current without a file"));
        ASSERT_TRUE(current.changed());
        determine({"", xamppDirectory()});
        EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
        EXPECT_EQ(dialogs.prompts.size(), 2u);
    }
}

TEST_F(XamppDirectory, WithoutPointerFileThePromptComesBeforeTheWindowAtStartUp) {
    installSmall();
    scratch.remove("xampp.txt");
    dialogs.promptAnswers = {xamppDirectory()};
    ASSERT_TRUE(open());
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].owner, nullptr);  // the window is not on the screen yet
    expectEveryPromptWithItsTitleTextAndDefault();
    EXPECT_TRUE(IsWindowVisible(window->hwnd()));
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
    EXPECT_EQ(textOf(Control::lblXV), "v1.6.0");
}

TEST_F(XamppDirectory, AMissingDefaultLocationPromptsToo) {
    installSmall();
    scratch.remove("xampp.txt");
    locations.defaultLocation = scratch.path("nothing here");
    dialogs.promptAnswers = {scratch.path("xampp"), xamppDirectory()};
    ASSERT_TRUE(open());
    EXPECT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
}

TEST_F(XamppDirectory, WithAPointerFileNoPromptIsShown) {
    installSmall();
    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
}

TEST_F(XamppDirectory, ADefaultLocationThatIsAnOrdinaryFileKeepsTheTypedDirectory) {
    installSmall();
    scratch.write("default file", "an ordinary file where the installation would be");
    locations.defaultLocation = scratch.path("default file");
    ASSERT_TRUE(open());
    scratch.remove("xampp.txt");
    scratch.write("typed\\xampp-changes.txt", "XAMPP 9.9\r\n");
    scratch.write("typed\\htdocs\\velko\\enc_opts.txt", "");
    setTextOf(Control::txtPath, scratch.path("typed\\"));
    click(Control::cmdPathOK);
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(textOf(Control::txtPath), scratch.path("typed\\"));
    EXPECT_EQ(textOf(Control::lblXV), "v9.9");
}

TEST_F(XamppDirectory, CancellingThePromptAtStartUpEndsTheProgramWritingNothing) {
    const std::vector<std::vector<std::optional<std::string>>> scripts{{}, {"refused"}};
    installSmall();
    scratch.remove("xampp.txt");
    for (const auto& script : scripts) {
        SCOPED_TRACE(script.size());
        dialogs = ScriptedDialogs();
        for (const std::optional<std::string>& answer : script) dialogs.promptAnswers.push_back(scratch.path(*answer));
        const std::vector<std::string> before = scratch.list("");
        EXPECT_FALSE(open());
        EXPECT_EQ(dialogs.prompts.size(), script.size() + 1);
        EXPECT_TRUE(dialogs.endedWith.has_value());
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_FALSE(scratch.exists("xampp.txt"));
        EXPECT_EQ(scratch.list(""), before);
        EXPECT_EQ(get(relative::kSettings), kSmallSettings);
        EXPECT_EQ(get(relative::kApacheConfiguration), kSmallApacheConfiguration);
    }
}

TEST_F(XamppDirectory, CancellingThePromptOfAReloadLeavesTheWindowAsItWas) {
    installSmall();
    ASSERT_TRUE(open());
    scratch.remove("xampp.txt");
    setTextOf(Control::txtPath, scratch.path("typed\\"));
    setTextOf(Control::txtWSP, "8080");
    setTextOf(Control::txtFLV, "edited");
    selectThemeNamed("blue");
    const std::vector<std::string> before = shownConfiguration();
    dialogs.promptAnswers = {scratch.path("missing\\")};
    click(Control::cmdPathOK);
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].owner, window->hwnd());
    EXPECT_TRUE(IsWindow(window->hwnd()));
    EXPECT_EQ(shownConfiguration(), before);
    EXPECT_FALSE(dialogs.endedWith.has_value());
    EXPECT_TRUE(dialogs.messages.empty());
}

// Writing the pointer file

class PointerFile : public SmallInstallationTest {};

TEST_F(PointerFile, IsCreatedWhenMissing) {
    installSmall();
    ASSERT_TRUE(open());
    scratch.remove("xampp.txt");
    dialogs.messageAnswers = {IDYES};  // it was there when the window loaded
    chooseMenu(optSave);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(scratch.read("xampp.txt"), "xampp_dir\t= " + xamppDirectory() + "\r\n");
}

TEST_F(PointerFile, AfterASaveARestartUsesTheSavedDirectoryWithoutPrompting) {
    installSmall();
    scratch.write("xampp.txt", "#xampp_dir = C:\\old\\\r\nxampp_dir\t= " + xamppDirectory() + "\r\nxampp_dir\t= D:\\\r\n");
    ASSERT_TRUE(open());
    chooseMenu(optSave);
    EXPECT_EQ(scratch.read("xampp.txt"), "xampp_dir\t= " + xamppDirectory() + "\r\n");
    ASSERT_TRUE(open());
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
}

}  // namespace
}  // namespace velko::testing
