// Starting the real program: what it asks for, what it shows, and how it ends when it cannot load.
#include <cstdio>
#include <filesystem>

#include "end_to_end_fixture.h"
#include "ui_text.h"

namespace fs = std::filesystem;

namespace velko::e2e {
namespace {

using StartUp = EndToEndTest;

constexpr int kPromptTextId = 101;
constexpr int kAnswerId = 102;
constexpr char kDefaultLocation[] = "C:\\Program Files\\xampp";

// The default location as a directory, which the start-up does not take as an installation;
// removed again afterwards unless it was there before.
class DirectoryAtDefaultLocation {
public:
    DirectoryAtDefaultLocation() : created_(fs::create_directories(kDefaultLocation)) {}
    ~DirectoryAtDefaultLocation() {
        if (created_) fs::remove(kDefaultLocation);
    }
    DirectoryAtDefaultLocation(const DirectoryAtDefaultLocation&) = delete;
    DirectoryAtDefaultLocation& operator=(const DirectoryAtDefaultLocation&) = delete;

private:
    bool created_;
};

TEST_F(StartUp, AsksForTheDirectoryBeforeTheWindowAndTakesOnlyOneWithItsBackslash) {
    scratch.copyDemo("xampp\\");
    const DirectoryAtDefaultLocation defaultLocation;
    ASSERT_TRUE(fs::is_directory(kDefaultLocation));
    start();

    // Answered without the trailing backslash, the box comes again with the same default.
    const std::string withoutBackslash = xamppDirectory().substr(0, xamppDirectory().size() - 1);
    for (const std::string& answer : {withoutBackslash, xamppDirectory()}) {
        SCOPED_TRACE("answer " + answer);
        const HWND box = program->waitForWindow(kDialogClass, text::kPromptTitle);
        ASSERT_TRUE(box) << "no input box";
        const HWND main = findMainWindow();
        EXPECT_FALSE(main && IsWindowVisible(main)) << "the main window is shown before the answer";
        EXPECT_EQ(e2e::textOf(descendantWithId(box, kPromptTextId)), text::kPromptText);
        const HWND answerField = descendantWithId(box, kAnswerId);
        EXPECT_EQ(e2e::textOf(answerField), text::kDefaultXamppPath);

        ASSERT_TRUE(program->bringToFront(box));
        ASSERT_TRUE(program->waitForFocus(answerField)) << "the answer field does not have the focus";
        typeText(answer);
        ASSERT_TRUE(waitUntil([&] { return e2e::textOf(answerField) == answer; }));
        pressKey(VK_RETURN);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); })) << "the input box stays";
    }
    ASSERT_TRUE(waitForMainWindow());
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
    EXPECT_FALSE(program->waitForWindow(kDialogClass, text::kPromptTitle, 0ms)) << "asked once more";
}

TEST_F(StartUp, ShowsTheVersionsPortThemeAndSettingsOfTheInstallation) {
    installDemo();
    start();
    ASSERT_TRUE(waitForMainWindow());

    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
    EXPECT_EQ(textOf(Control::lblXV), "v1.7.3");
    EXPECT_EQ(textOf(Control::lblVV), "v0.9.4");
    EXPECT_EQ(textOf(Control::txtWSP), "80");
    EXPECT_EQ(sendMessage(control(Control::cmbThemes), CB_GETCOUNT), 3);
    EXPECT_EQ(textOf(Control::cmbThemes), "Classic");
    EXPECT_EQ(textOf(Control::txtFLV), "C:\\xampp\\flvtool2\\flvtool2");
    EXPECT_EQ(textOf(Control::txtMencoder), "C:\\xampp\\mplayer\\mencoder");
    EXPECT_EQ(textOf(Control::txtMenOpts),
              "-ovc lavc -lavcopts vcodec=flv:vbitrate=500 -oac mp3lame -lameopts abr:br=56 -srate 22050");
    EXPECT_EQ(textOf(Control::txtLES), "162");
    EXPECT_EQ(textOf(Control::txtDriveList), "C:\\;D:\\");
}

TEST_F(StartUp, EndsWithTheFailureBoxAndWithoutTheWindowWhenThePresetFileIsMissing) {
    installDemo();
    scratch.remove("xampp\\htdocs\\velko\\enc_opts.txt");
    start();

    const HWND box = program->waitForWindow(kDialogClass, text::kAppTitle);
    ASSERT_TRUE(box) << "no failure box";
    char numberPart[64];
    std::snprintf(numberPart, sizeof numberPart, text::kFailureFormat.data(), 53, "");
    const std::string message = textsOfDescendants(box, "Static");
    EXPECT_NE(message.find(numberPart), std::string::npos) << "the failure box says: " << message;
    const HWND main = findMainWindow();
    EXPECT_FALSE(main && IsWindowVisible(main)) << "the main window is shown behind the failure box";

    ASSERT_TRUE(program->bringToFront(box));
    const HWND ok = descendantWithId(box, IDOK);
    ASSERT_NO_FATAL_FAILURE(clickInside(ok, centreOf(ok)));
    const std::optional<DWORD> exitCode = program->waitForExit();
    ASSERT_TRUE(exitCode) << "the program still runs after OK";
    EXPECT_NE(*exitCode, 0u);
}

}  // namespace
}  // namespace velko::e2e
