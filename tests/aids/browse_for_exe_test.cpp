// The executable picker behind the "..." buttons of the FLV tool and mencoder paths.
#include <windows.h>

#include <string>
#include <vector>

#include "window_fixture.h"

namespace velko::testing {
namespace {

using C = Control;

class BrowseForExe : public WindowTest {
protected:
    void SetUp() override {
        installDemo();
        ASSERT_TRUE(open());
        setTextOf(C::txtFLV, "flv before");
        setTextOf(C::txtMencoder, "mencoder before");
    }

    void pick(Control button, FileChoice choice) {
        dialogs.fileChoices.push_back(std::move(choice));
        click(button);
    }
};

TEST_F(BrowseForExe, DialogGetsTheRecordOfAnExecutablePicker) {
    char currentDirectory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, currentDirectory);
    click(C::cmdBMen);
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    const OpenFileCall& call = dialogs.fileDialogs[0];
    EXPECT_EQ(call.record.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_EQ(call.record.hwndOwner, window->hwnd());
    EXPECT_EQ(call.record.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(call.filter, std::string("Executable Files (*.exe)\0*.exe\0", 31)) << "one filter, ended by two NULs";
    EXPECT_EQ(call.title, "Our File Open Title");
    EXPECT_EQ(call.initialDirectory, currentDirectory);
    EXPECT_EQ(call.record.Flags, 0u);
    EXPECT_EQ(call.record.nMaxFile, 255u);
    EXPECT_EQ(call.record.nMaxFileTitle, 255u);
    EXPECT_EQ(call.fileBuffer, std::string(254, ' ') + '\0');
    EXPECT_EQ(call.fileTitleBuffer, std::string(254, ' ') + '\0');
    EXPECT_EQ(call.record.lpstrCustomFilter, nullptr);
    EXPECT_EQ(call.record.nFilterIndex, 0u);
    EXPECT_EQ(call.record.lpstrDefExt, nullptr);
}

TEST_F(BrowseForExe, DialogOpensInTheCurrentDirectoryOfTheMoment) {
    char before[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(xamppDirectory().c_str()));
    click(C::cmdBFLV);
    SetCurrentDirectoryA(before);
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    std::string expected = xamppDirectory();
    expected.pop_back();  // the current directory carries no trailing backslash
    EXPECT_EQ(dialogs.fileDialogs[0].initialDirectory, expected);
}

TEST_F(BrowseForExe, EachButtonWritesThePathLessExeIntoItsOwnField) {
    pick(C::cmdBMen, {1, "D:\\tools\\mencoder.exe"});
    EXPECT_EQ(textOf(C::txtMencoder), "D:\\tools\\mencoder");
    EXPECT_EQ(textOf(C::txtFLV), "flv before");

    setTextOf(C::txtMencoder, "mencoder before");
    pick(C::cmdBFLV, {1, "D:\\tools\\mencoder.exe"});
    EXPECT_EQ(textOf(C::txtFLV), "D:\\tools\\mencoder");
    EXPECT_EQ(textOf(C::txtMencoder), "mencoder before");
    EXPECT_TRUE(dialogs.messages.empty());
}

struct RefusedCase {
    std::string_view name;
    FileChoice choice;
};

TEST_F(BrowseForExe, FieldStaysWhenNoLowerCaseExeComesBack) {
    const std::vector<RefusedCase> cases{
        {"cancelled", {0, ""}},
        {"a result other than 1", {2, "C:\\tools\\flvtool2.exe"}},
        {"a failure result", {-1, "C:\\tools\\flvtool2.exe"}},
        {"capitals", {1, "C:\\TOOLS\\FLVTOOL2.EXE"}},
        {"mixed case", {1, "C:\\tools\\flvtool2.Exe"}},
        {"no extension", {1, "C:\\tools\\flvtool2"}},
        {"another extension", {1, "C:\\tools\\flvtool2.bat"}},
        {"shorter than the ending", {1, "exe"}},
    };
    for (const RefusedCase& test : cases) {
        SCOPED_TRACE(test.name);
        pick(C::cmdBFLV, test.choice);
        EXPECT_EQ(textOf(C::txtFLV), "flv before");
    }
    EXPECT_EQ(dialogs.fileDialogs.size(), cases.size());
    EXPECT_TRUE(dialogs.messages.empty()) << "a refused path shows no message";
}

TEST_F(BrowseForExe, CancellingKeepsAnEmptyFieldEmpty) {
    setTextOf(C::txtMencoder, "");
    pick(C::cmdBMen, {0, ""});
    EXPECT_EQ(textOf(C::txtMencoder), "");
}

TEST_F(BrowseForExe, PathOfTheWholeBufferIsAccepted) {
    const std::string path = "C:\\" + std::string(254 - 3 - 4, 'a') + ".exe";
    ASSERT_EQ(path.size(), 254u);
    pick(C::cmdBMen, {1, path});
    EXPECT_EQ(textOf(C::txtMencoder), path.substr(0, 250));
}

TEST_F(BrowseForExe, PathOfAFileThatDoesNotExistIsWrittenLikeAnyOther) {
    pick(C::cmdBFLV, {1, "Q:\\nowhere\\at all\\flvtool2.exe"});
    EXPECT_EQ(textOf(C::txtFLV), "Q:\\nowhere\\at all\\flvtool2");
}

TEST_F(BrowseForExe, DialogIsShownAfreshOnEveryClick) {
    pick(C::cmdBMen, {1, "C:\\short.exe"});
    click(C::cmdBMen);
    ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(dialogs.fileDialogs[1].fileBuffer, std::string(254, ' ') + '\0') << "no trace of the earlier path";
    EXPECT_EQ(textOf(C::txtMencoder), "C:\\short");
}

}  // namespace
}  // namespace velko::testing
