// The window's shell in the real program: the pages follow the tabs, Exit ends at once.
#include "end_to_end_fixture.h"

namespace velko::e2e {
namespace {

using WindowShell = EndToEndTest;

TEST_F(WindowShell, TabsSwitchPagesByKeyboardAndMouseAndExitEndsWithoutWriting) {
    installDemo();
    const FileContents installationBefore = filesBelow(xamppDirectory());
    const std::string pointerBefore = testing::readBytes(pointerFile());
    start();
    ASSERT_TRUE(waitForMainWindow());
    const auto pageShown = [&](bool xampp) { return isVisible(Control::frmX) == xampp && isVisible(Control::frmV) != xampp; };

    ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow(VK_TAB, {VK_CONTROL}));
    EXPECT_TRUE(waitUntil([&] { return pageShown(false); })) << "Ctrl+Tab did not show the Velko page";

    ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow(VK_TAB, {VK_CONTROL}));
    EXPECT_TRUE(waitUntil([&] { return pageShown(true); })) << "Ctrl+Tab did not show the XAMPP page again";

    const HWND tabs = control(Control::tsTabs);
    ASSERT_NO_FATAL_FAILURE(clickInside(tabs, centreOf(program->tabOnScreen(tabs, 1))));
    EXPECT_TRUE(waitUntil([&] { return pageShown(false); })) << "a click on \"Velko\" did not show its page";

    ASSERT_NO_FATAL_FAILURE(clickInside(tabs, centreOf(program->tabOnScreen(tabs, 0))));
    EXPECT_TRUE(waitUntil([&] { return pageShown(true); })) << "a click on \"XAMPP\" did not show its page";

    ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow('X', {VK_MENU}));
    EXPECT_EQ(program->waitForExit(), 0u);
    EXPECT_EQ(filesBelow(xamppDirectory()), installationBefore);
    EXPECT_EQ(testing::readBytes(pointerFile()), pointerBefore);
}

}  // namespace
}  // namespace velko::e2e
