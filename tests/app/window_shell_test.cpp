// The window's shell: the pages and their tabs, the Tab key, the port help, ending the program
// and the failure box.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace velko::testing {
namespace {

using C = Control;

const std::vector<Control> kTextBoxes{C::txtWSP, C::txtFLV, C::txtMencoder, C::txtMenOpts,
                                      C::txtLES, C::txtDriveList, C::txtPath};

void replaceOnce(std::string& text, std::string_view from, std::string_view to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

class WindowShell : public WindowTest {
protected:
    void openDemo() {
        installDemo();
        ASSERT_TRUE(open());
    }

    // Selects a tab as a click does: the window is told of the change.
    void selectTab(int index) {
        SendMessageA(control(C::tsTabs), TCM_SETCURFOCUS, index, 0);
        pump();
    }
    int selectedTab() const { return static_cast<int>(SendMessageA(control(C::tsTabs), TCM_GETCURSEL, 0, 0)); }
    bool shown(Control name) const { return IsWindowVisible(control(name)); }

    // Presses a key with the given modifiers held, as the message loop hands it on.
    void press(WPARAM key, std::vector<int> modifiers = {}) {
        BYTE keys[256];
        GetKeyboardState(keys);
        const std::vector<BYTE> before(keys, keys + 256);
        for (const int modifier : modifiers) keys[modifier] = 0x80;
        SetKeyboardState(keys);
        MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        if (!window->translateKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        std::copy(before.begin(), before.end(), keys);
        SetKeyboardState(keys);
        pump();
    }

    // A character typed with Alt held, as the message loop hands it on.
    void pressWithAlt(char key) {
        MSG message{GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(key), 1 | (1 << 29), 0, {}};
        if (!window->translateKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        pump();
    }

    // The controls the focus visits from tsTabs, one Tab key at a time, until it is back.
    std::vector<HWND> tabRound(std::vector<int> modifiers = {}) {
        SetFocus(control(C::tsTabs));
        std::vector<HWND> visited;
        for (int presses = 0; presses < 40; ++presses) {
            press(VK_TAB, modifiers);
            visited.push_back(GetFocus());
            if (visited.back() == control(C::tsTabs)) break;
        }
        return visited;
    }
    std::vector<HWND> handles(const std::vector<Control>& names) const {
        std::vector<HWND> result;
        for (const Control name : names) result.push_back(control(name));
        return result;
    }

    std::map<Control, std::string> fieldTexts() const {
        std::map<Control, std::string> texts;
        for (const Control box : kTextBoxes) texts[box] = textOf(box);
        return texts;
    }

    // The three files a save writes, as they are now.
    std::vector<std::string> savedFiles() const {
        return {scratch.read("xampp\\htdocs\\velko\\config.dat"), scratch.read("xampp.txt"),
                scratch.read("xampp\\apache\\conf\\httpd.conf")};
    }

    void editEveryField() const {
        setTextOf(C::txtWSP, "8080");
        setTextOf(C::txtFLV, "D:\\flv\\flvtool2");
        setTextOf(C::txtLES, "600");
    }
};

TEST_F(WindowShell, BothPagesAreShownAfterStartUpWithTheXamppPageInFront) {
    openDemo();
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_TRUE(shown(C::frmX));
    EXPECT_TRUE(shown(C::frmV));
    EXPECT_EQ(GetWindow(control(C::frmX), GW_HWNDNEXT), control(C::frmV));
    EXPECT_EQ(GetFocus(), control(C::tsTabs));
}

TEST_F(WindowShell, SelectingATabShowsItsPageAndHidesTheOther) {
    openDemo();
    selectTab(1);
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_FALSE(shown(C::frmX));
    EXPECT_TRUE(shown(C::frmV));

    selectTab(0);
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_TRUE(shown(C::frmX));
    EXPECT_FALSE(shown(C::frmV));
}

TEST_F(WindowShell, SelectingTheSelectedTabChangesNothing) {
    openDemo();
    selectTab(0);
    EXPECT_TRUE(shown(C::frmX));
    EXPECT_EQ(GetWindow(control(C::frmX), GW_HWNDNEXT), control(C::frmV));

    selectTab(1);
    selectTab(1);
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_FALSE(shown(C::frmX));
    EXPECT_TRUE(shown(C::frmV));
}

TEST_F(WindowShell, PagesStayShownInTheirPlaceWhateverTheTab) {
    openDemo();
    selectTab(1);
    for (const Control always : {C::tsTabs, C::Frame1, C::lblXPath, C::txtPath, C::cmdPathOK})
        EXPECT_TRUE(shown(always)) << static_cast<int>(always);
}

TEST_F(WindowShell, TabKeyFollowsTheTabOrderThroughBothPagesBeforeATabChoice) {
    openDemo();
    EXPECT_EQ(tabRound(), handles({C::txtWSP, C::cmdWSPHelp, C::cmbThemes, C::txtPath, C::cmdPathOK, C::txtFLV,
                                   C::txtMencoder, C::txtMenOpts, C::txtLES, C::txtDriveList, C::cmdBFLV,
                                   C::cmdBMen, C::cmdMO, C::cmdLOS, C::tsTabs}));
}

TEST_F(WindowShell, TabKeySkipsTheHiddenPage) {
    openDemo();
    selectTab(1);
    EXPECT_EQ(tabRound(), handles({C::cmbThemes, C::txtPath, C::cmdPathOK, C::txtFLV, C::txtMencoder, C::txtMenOpts,
                                   C::txtLES, C::txtDriveList, C::cmdBFLV, C::cmdBMen, C::cmdMO, C::cmdLOS,
                                   C::tsTabs}));
    selectTab(0);
    EXPECT_EQ(tabRound(), handles({C::txtWSP, C::cmdWSPHelp, C::txtPath, C::cmdPathOK, C::tsTabs}));
}

TEST_F(WindowShell, ShiftTabGoesBackwards) {
    openDemo();
    selectTab(1);
    selectTab(0);
    EXPECT_EQ(tabRound({VK_SHIFT}), handles({C::cmdPathOK, C::txtPath, C::cmdWSPHelp, C::txtWSP, C::tsTabs}));
}

TEST_F(WindowShell, CtrlTabSwitchesToTheOtherPage) {
    openDemo();
    press(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_FALSE(shown(C::frmX));
    EXPECT_TRUE(shown(C::frmV));

    press(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_TRUE(shown(C::frmX));
    EXPECT_FALSE(shown(C::frmV));
}

TEST_F(WindowShell, AltOPressesTheOkButton) {
    openDemo();
    setTextOf(C::txtWSP, "1234");
    pressWithAlt('o');
    EXPECT_EQ(textOf(C::txtWSP), "80") << "the reload filled the port anew";
    EXPECT_FALSE(dialogs.endedWith);
}

TEST_F(WindowShell, AltXChoosesExit) {
    openDemo();
    pressWithAlt('x');
    EXPECT_EQ(dialogs.endedWith, 0u);
    EXPECT_EQ(window->hwnd(), nullptr);
}

TEST_F(WindowShell, QuestionMarkShowsThePortHelpAndChangesNoField) {
    openDemo();
    setTextOf(C::txtWSP, "8080");
    const auto before = fieldTexts();
    click(C::cmdWSPHelp);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const ShownMessage& help = dialogs.messages[0];
    EXPECT_EQ(help.text,
              "This sets the port in which the web server runs on. By default it is set to port 80, but some ISPs "
              "block port 80 so you will need to change the port in order to access remotely.");
    EXPECT_EQ(help.title, "Velko Configurator");
    EXPECT_EQ(help.style, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(help.owner, window->hwnd());
    EXPECT_EQ(fieldTexts(), before);
    EXPECT_FALSE(dialogs.endedWith);
}

TEST_F(WindowShell, ExitEndsAtOnceWithoutWritingAnyFile) {
    openDemo();
    const auto files = savedFiles();
    editEveryField();
    chooseMenu(optExit);
    EXPECT_EQ(dialogs.endedWith, 0u);
    EXPECT_EQ(window->hwnd(), nullptr);
    EXPECT_TRUE(dialogs.messages.empty()) << "no question on the way out";
    EXPECT_EQ(savedFiles(), files);
}

TEST_F(WindowShell, CloseBoxEndsAtOnceWithoutWritingAnyFile) {
    openDemo();
    const HWND handle = window->hwnd();
    const auto files = savedFiles();
    editEveryField();
    SendMessageA(handle, WM_CLOSE, 0, 0);
    pump();
    EXPECT_EQ(dialogs.endedWith, 0u);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(savedFiles(), files);
}

TEST_F(WindowShell, FailureOfAReloadShowsTheFailureBoxAndEndsWithAnErrorCode) {
    openDemo();
    const HWND handle = window->hwnd();
    scratch.remove("xampp\\htdocs\\velko\\enc_opts.txt");
    bool shownDuringBox = false;
    dialogs.whileShown = [&] { shownDuringBox = IsWindowVisible(handle); };
    click(C::cmdPathOK);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const ShownMessage& failure = dialogs.messages[0];
    EXPECT_EQ(failure.title, "Velko Configurator");
    EXPECT_NE(failure.text.find("53"), std::string::npos) << failure.text;
    EXPECT_NE(failure.text.find("enc_opts.txt"), std::string::npos) << failure.text;
    EXPECT_EQ(failure.style & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(shownDuringBox) << "the program ends only when the box is closed";
    EXPECT_EQ(dialogs.endedWith, 1u);
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(WindowShell, FailureAtStartUpEndsBeforeTheWindowIsShown) {
    installDemo();
    scratch.remove("xampp\\htdocs\\velko\\enc_opts.txt");
    bool shownDuringBox = true;
    dialogs.whileShown = [&] { shownDuringBox = IsWindowVisible(window->hwnd()); };
    EXPECT_FALSE(open());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("53"), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].title, "Velko Configurator");
    EXPECT_FALSE(shownDuringBox);
    EXPECT_EQ(dialogs.endedWith, 1u);
    EXPECT_EQ(window->hwnd(), nullptr);
}

// Refuses, for as long as it lives, to create the windows of one class on this thread, as a
// system out of resources would.
class RefusedClass {
public:
    explicit RefusedClass(std::string name) {
        refused() = std::move(name);
        hook_ = SetWindowsHookExA(WH_CBT, refuse, nullptr, GetCurrentThreadId());
    }
    ~RefusedClass() { UnhookWindowsHookEx(hook_); }

private:
    static std::string& refused() {
        static std::string name;
        return name;
    }
    static LRESULT CALLBACK refuse(int code, WPARAM wParam, LPARAM lParam) {
        char name[64] = "";
        if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) &&
            lstrcmpiA(name, refused().c_str()) == 0)
            return 1;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

TEST_F(WindowShell, AWindowThatCannotBeCreatedEndsStartUpWithTheFailureBoxNamingIt) {
    installDemo();
    {
        const RefusedClass refusal("Edit");
        EXPECT_FALSE(open());
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("Error 7: Could not create a control of the window (", 0), 0u)
        << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.endedWith, 1u);
    EXPECT_EQ(window->hwnd(), nullptr);
}

// The save yields to the window before each line of Apache's configuration: a close arriving then
// waits for the save, which writes all three files.
TEST_F(WindowShell, ClosingDuringASaveEndsOnceTheSaveHasFinished) {
    openDemo();
    const HWND handle = window->hwnd();
    const std::string apacheBefore = scratch.read("xampp\\apache\\conf\\httpd.conf");
    setTextOf(C::txtWSP, "8080");
    setTextOf(C::txtLES, "600");
    PostMessageA(handle, WM_CLOSE, 0, 0);
    SendMessageA(handle, WM_COMMAND, MAKEWPARAM(optSave, 0), 0);
    EXPECT_EQ(dialogs.endedWith, 0u);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_NE(scratch.read("xampp\\htdocs\\velko\\config.dat").find("duration\t= 600\r\n"), std::string::npos);
    std::string apacheExpected = apacheBefore;
    replaceOnce(apacheExpected, "\r\nListen 80\r\n", "\r\nlisten 8080\r\n");
    replaceOnce(apacheExpected, "\r\nServerName localhost:80\r\n", "\r\nServerName localhost:8080\r\n");
    EXPECT_EQ(scratch.read("xampp\\apache\\conf\\httpd.conf"), apacheExpected);
}

// The box must come up while the program still runs: an ended program takes its boxes with it.
TEST_F(WindowShell, ClosingDuringASaveThatFailsShowsTheFailureBeforeTheEnd) {
    openDemo();
    const HWND handle = window->hwnd();
    const std::string apache = scratch.path("xampp\\apache\\conf\\httpd.conf");
    ASSERT_TRUE(SetFileAttributesA(apache.c_str(), FILE_ATTRIBUTE_READONLY));
    bool endedBeforeBox = true;
    HWND ownerAlive = nullptr;
    dialogs.whileShown = [&] {
        endedBeforeBox = dialogs.endedWith.has_value();
        ownerAlive = IsWindow(handle) ? handle : nullptr;
    };
    PostMessageA(handle, WM_CLOSE, 0, 0);
    SendMessageA(handle, WM_COMMAND, MAKEWPARAM(optSave, 0), 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Velko Configurator");
    EXPECT_FALSE(endedBeforeBox) << "the program ended before the failure box came up";
    EXPECT_EQ(ownerAlive, handle);
    EXPECT_EQ(dialogs.endedWith, 1u);
    EXPECT_FALSE(IsWindow(handle));
}

// The load yields before each line of the preset file, where a close waits for the load.
TEST_F(WindowShell, ClosingDuringAReloadEndsOnceTheLoadHasFinished) {
    openDemo();
    const HWND handle = window->hwnd();
    const size_t presetsBefore = window->presetStore().size();
    PostMessageA(handle, WM_CLOSE, 0, 0);
    SendMessageA(control(C::cmdPathOK), BM_CLICK, 0, 0);
    EXPECT_EQ(dialogs.endedWith, 0u);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window->presetStore().size(), 2 * presetsBefore) << "the load read the whole preset file";
}

}  // namespace
}  // namespace velko::testing
