// The window's keys beyond the Tab order: Ctrl+Shift+Tab and Ctrl+Tab from a page's field, and
// the access keys of "&OK", "&Save" and "E&xit".
#include <windows.h>
#include <commctrl.h>

#include "key_strokes.h"
#include "window_fixture.h"

namespace velko::testing {
namespace {

using C = Control;

class WindowKeys : public WindowTest {
protected:
    void SetUp() override {
        installDemo();
        ASSERT_TRUE(open());
    }

    void press(UINT key, std::initializer_list<int> modifiers) {
        ASSERT_TRUE(GetFocus());
        const HeldKeys held(modifiers);
        postKeyStroke(GetFocus(), key);
        pump();
    }

    int selectedTab() const { return static_cast<int>(SendMessageA(control(C::tsTabs), TCM_GETCURSEL, 0, 0)); }
    bool shown(Control name) const { return IsWindowVisible(control(name)); }
};

TEST_F(WindowKeys, CtrlShiftTabSwitchesToTheOtherPageAndBack) {
    press(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_FALSE(shown(C::frmX));
    EXPECT_TRUE(shown(C::frmV));

    press(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_TRUE(shown(C::frmX));
    EXPECT_FALSE(shown(C::frmV));
}

TEST_F(WindowKeys, CtrlTabInAFieldSwitchesThePageAndLeavesNoFocusOnTheHiddenOne) {
    SetFocus(control(C::txtWSP));
    press(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_TRUE(shown(C::frmV));
    EXPECT_FALSE(shown(C::frmX));
    EXPECT_TRUE(IsWindowVisible(GetFocus()));
}

TEST_F(WindowKeys, AltOReloadsAsTheOkButtonDoes) {
    setTextOf(C::txtWSP, "1234");
    press('O', {VK_MENU});
    EXPECT_EQ(textOf(C::txtWSP), "80");
}

TEST_F(WindowKeys, AltSSavesTheFields) {
    setTextOf(C::txtWSP, "8080");
    press('S', {VK_MENU});
    EXPECT_NE(scratch.read("xampp\\apache\\conf\\httpd.conf").find("\r\nlisten 8080\r\n"), std::string::npos);
    EXPECT_FALSE(dialogs.endedWith);
}

TEST_F(WindowKeys, AltXEndsTheProgramWithoutSaving) {
    const std::string before = scratch.read("xampp\\apache\\conf\\httpd.conf");
    setTextOf(C::txtWSP, "8080");
    press('X', {VK_MENU});
    EXPECT_EQ(dialogs.endedWith, 0u);
    EXPECT_EQ(scratch.read("xampp\\apache\\conf\\httpd.conf"), before);
}

}  // namespace
}  // namespace velko::testing
