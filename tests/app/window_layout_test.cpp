// The window as laid out: every control's kind, container, text, visibility, rectangle and
// stacking, the menu bar, the tabs and the icon.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/resource.h"
#include "window_fixture.h"

namespace velko::testing {
namespace {

using C = Control;
using K = Kind;

struct ExpectedControl {
    Control name;
    Kind kind;
    Control container;
    std::string_view text;  // caption, or the text before anything is loaded
    int left, top, width, height;
};

const ExpectedControl kExpected[] = {
    {C::tsTabs, K::TabStrip, C::Window, "", 8, 8, 353, 193},
    {C::frmX, K::Frame, C::Window, "XAMPP Configuration", 16, 32, 337, 161},
    {C::lblWSP, K::Label, C::frmX, "Web Server Port:", 16, 16, 145, 17},
    {C::txtWSP, K::TextBox, C::frmX, "", 168, 16, 137, 19},
    {C::cmdWSPHelp, K::Button, C::frmX, "?", 312, 16, 17, 17},
    {C::frmV, K::Frame, C::Window, "Velko Configuration:", 16, 32, 337, 161},
    {C::lblTheme, K::Label, C::frmV, "Current Theme:", 16, 16, 145, 17},
    {C::cmbThemes, K::ThemeList, C::frmV, "", 168, 16, 161, 21},
    {C::lblFLVTool, K::Label, C::frmV, "FLV Tool Path:", 16, 40, 145, 17},
    {C::txtFLV, K::TextBox, C::frmV, "", 168, 40, 137, 19},
    {C::cmdBFLV, K::Button, C::frmV, "...", 304, 40, 25, 17},
    {C::Label3, K::Label, C::frmV, "Mencoder Path:", 16, 64, 145, 17},
    {C::txtMencoder, K::TextBox, C::frmV, "", 168, 64, 137, 19},
    {C::cmdBMen, K::Button, C::frmV, "...", 304, 64, 25, 17},
    {C::Label4, K::Label, C::frmV, "Mencoder Options:", 16, 88, 145, 17},
    {C::txtMenOpts, K::TextBox, C::frmV, "", 168, 88, 137, 19},
    {C::cmdMO, K::Button, C::frmV, "...", 304, 88, 25, 17},
    {C::Label5, K::Label, C::frmV, "Length Of Segments (/secs):", 16, 112, 145, 17},
    {C::txtLES, K::TextBox, C::frmV, "", 168, 112, 137, 19},
    {C::cmdLOS, K::Button, C::frmV, "...", 304, 112, 25, 17},
    {C::Label6, K::Label, C::frmV, "Drive List:", 16, 136, 145, 17},
    {C::txtDriveList, K::TextBox, C::frmV, "", 168, 136, 161, 19},
    {C::Frame1, K::Frame, C::Window, "Status:", 8, 208, 353, 57},
    {C::Label1, K::Label, C::Frame1, "XAMPP Version:", 8, 16, 169, 17},
    {C::Label2, K::Label, C::Frame1, "Velko Version:", 8, 32, 169, 17},
    {C::lblXV, K::Label, C::Frame1, "v", 176, 16, 169, 17},
    {C::lblVV, K::Label, C::Frame1, "v", 176, 32, 169, 17},
    {C::lblXPath, K::Label, C::Window, "XAMPP Path:", 8, 272, 81, 17},
    {C::txtPath, K::TextBox, C::Window, "C:\\Program Files\\xampp\\", 96, 272, 233, 19},
    {C::cmdPathOK, K::Button, C::Window, "&OK", 336, 272, 25, 17},
};

std::string classOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

LONG_PTR styleOf(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }

bool isGroupBox(HWND window) {
    return _stricmp(classOf(window).c_str(), "Button") == 0 && (styleOf(window) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The children of a window, front to back.
std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A frame draws its caption and border with a group box that lies behind its controls.
HWND groupBoxOf(HWND frame) {
    const std::vector<HWND> children = childrenOf(frame);
    return children.empty() ? nullptr : children.back();
}

// A rectangle as {left, top, width, height} in the client coordinates of the container.
std::vector<int> placeIn(HWND window, HWND container) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void expectKind(HWND window, Kind kind) {
    const std::string className = classOf(window);
    const LONG_PTR style = styleOf(window);
    switch (kind) {
    case K::TabStrip: EXPECT_STRCASEEQ(className.c_str(), WC_TABCONTROLA); break;
    case K::Frame: EXPECT_TRUE(isGroupBox(groupBoxOf(window))) << "no group box behind the frame's controls"; break;
    case K::Label: EXPECT_STRCASEEQ(className.c_str(), "Static"); break;
    case K::TextBox:
        EXPECT_STRCASEEQ(className.c_str(), "Edit");
        EXPECT_FALSE(style & ES_MULTILINE);
        break;
    case K::Button:
        EXPECT_STRCASEEQ(className.c_str(), "Button");
        EXPECT_TRUE((style & BS_TYPEMASK) == BS_PUSHBUTTON || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        break;
    case K::ThemeList:
        EXPECT_STRCASEEQ(className.c_str(), "ComboBox");
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST) << "the theme list takes no typing";
        break;
    }
}

std::string captionOf(HWND window, Kind kind) {
    return windowText(kind == K::Frame ? groupBoxOf(window) : window);
}

std::string tabCaption(HWND tabs, int index) {
    char caption[64] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = sizeof caption;
    SendMessageA(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return caption;
}

class WindowLayout : public WindowTest {
protected:
    void openDemo() {
        installDemo();
        ASSERT_TRUE(open());
        ASSERT_EQ(GetDpiForWindow(window->hwnd()), 96u) << "the rectangles below are 96-DPI units";
    }

    HWND containerOf(Control name) const { return name == C::Window ? window->hwnd() : control(name); }
};

TEST_F(WindowLayout, EveryControlHasItsKindAndContainerAndIsShown) {
    openDemo();
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(::testing::Message() << "control #" << static_cast<int>(expected.name) << " " << expected.text);
        const HWND handle = control(expected.name);
        ASSERT_TRUE(IsWindow(handle));
        expectKind(handle, expected.kind);
        EXPECT_EQ(GetParent(handle), containerOf(expected.container));
        EXPECT_TRUE(IsWindowVisible(handle));
    }
}

TEST_F(WindowLayout, EveryControlLiesAtItsRectangle) {
    openDemo();
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(::testing::Message() << "control #" << static_cast<int>(expected.name) << " " << expected.text);
        const std::vector<int> rectangle{expected.left, expected.top, expected.width, expected.height};
        EXPECT_EQ(placeIn(control(expected.name), containerOf(expected.container)), rectangle);
        if (expected.kind == K::Frame) {
            EXPECT_EQ(placeIn(groupBoxOf(control(expected.name)), control(expected.name)),
                      (std::vector<int>{0, 0, expected.width, expected.height}));
        }
    }
}

// Captured while the prompt for the XAMPP directory is up: the window exists, nothing is loaded.
TEST_F(WindowLayout, BeforeLoadingEveryControlHoldsItsCaptionOrInitialText) {
    std::vector<std::string> captions;
    bool shown = true;
    int selectedTab = -1;
    dialogs.whileShown = [&] {
        shown = IsWindowVisible(window->hwnd());
        selectedTab = static_cast<int>(SendMessageA(control(C::tsTabs), TCM_GETCURSEL, 0, 0));
        for (const ExpectedControl& expected : kExpected) captions.push_back(captionOf(control(expected.name), expected.kind));
    };
    EXPECT_FALSE(open());
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_FALSE(shown) << "the window is not on the screen before its load";
    EXPECT_EQ(selectedTab, 0);
    ASSERT_EQ(captions.size(), std::size(kExpected));
    for (size_t i = 0; i < captions.size(); ++i) EXPECT_EQ(captions[i], kExpected[i].text);
}

TEST_F(WindowLayout, WindowHasItsCaptionAndClientSize) {
    openDemo();
    EXPECT_EQ(windowText(window->hwnd()), "Velko Configurator");
    RECT client;
    GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(client.right - client.left, 369);
    EXPECT_EQ(client.bottom - client.top, 297);
}

TEST_F(WindowLayout, PagesLieInFrontOfTheTabStripXamppPageFirst) {
    openDemo();
    const std::vector<HWND> expected{control(C::frmX),    control(C::frmV),   control(C::cmdPathOK),
                                     control(C::txtPath), control(C::Frame1), control(C::tsTabs),
                                     control(C::lblXPath)};
    EXPECT_EQ(childrenOf(window->hwnd()), expected);
}

// Within a frame: its fields and buttons, then its labels, then the group box that draws it.
TEST_F(WindowLayout, LabelsLieBehindTheOtherControlsOfTheirFrame) {
    openDemo();
    for (const Control frame : {C::frmX, C::frmV, C::Frame1}) {
        SCOPED_TRACE(::testing::Message() << "frame #" << static_cast<int>(frame));
        std::vector<HWND> children = childrenOf(control(frame));
        ASSERT_FALSE(children.empty());
        children.pop_back();  // the group box, checked with the frame's kind
        const auto firstLabel = std::find_if(children.begin(), children.end(), [](HWND child) {
            return _stricmp(classOf(child).c_str(), "Static") == 0;
        });
        EXPECT_NE(firstLabel, children.end());
        EXPECT_TRUE(std::all_of(firstLabel, children.end(), [](HWND child) {
            return _stricmp(classOf(child).c_str(), "Static") == 0;
        }));
        const auto framed = std::count_if(std::begin(kExpected), std::end(kExpected),
                                          [&](const ExpectedControl& c) { return c.container == frame; });
        EXPECT_EQ(children.size(), static_cast<size_t>(framed));
    }
}

// A caption's rectangle reaches one unit into its version's: the version must lie in front, or
// its first letter is cut off at higher resolutions.
TEST_F(WindowLayout, VersionsLieInFrontOfTheirCaptions) {
    openDemo();
    const std::vector<HWND> children = childrenOf(control(C::Frame1));
    const auto depth = [&](Control name) { return std::find(children.begin(), children.end(), control(name)); };
    EXPECT_LT(depth(C::lblXV), depth(C::Label1));
    EXPECT_LT(depth(C::lblVV), depth(C::Label2));
}

TEST_F(WindowLayout, MenuBarHoldsExitThenSaveWithoutDropDowns) {
    openDemo();
    const HMENU bar = GetMenu(window->hwnd());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(menuCaptions(bar), (std::vector<std::string>{"E&xit", "&Save"}));
    for (int position = 0; position < GetMenuItemCount(bar); ++position) {
        EXPECT_EQ(GetSubMenu(bar, position), nullptr);
        EXPECT_FALSE(GetMenuState(bar, static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    }
}

TEST_F(WindowLayout, TabStripHasTheTwoTabsWithTheFirstSelected) {
    openDemo();
    const HWND tabs = control(C::tsTabs);
    ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(tabCaption(tabs, 0), "XAMPP");
    EXPECT_EQ(tabCaption(tabs, 1), "Velko");
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
}

// The tab strip's tool tip asks the window for each tab's text, by the tab's index.
TEST_F(WindowLayout, TabsShowTheirToolTips) {
    openDemo();
    const HWND tips = reinterpret_cast<HWND>(SendMessageA(control(C::tsTabs), TCM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    const std::string_view expected[] = {"XAMPP Configuration", "Velko Configuration"};
    for (UINT_PTR tab = 0; tab < std::size(expected); ++tab) {
        NMTTDISPINFOA ansi{};
        ansi.hdr = {tips, tab, TTN_GETDISPINFOA};
        SendMessageA(window->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ansi));
        EXPECT_EQ(std::string(ansi.lpszText ? ansi.lpszText : ansi.szText), expected[tab]);

        NMTTDISPINFOW wide{};
        wide.hdr = {tips, tab, TTN_GETDISPINFOW};
        SendMessageW(window->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
        const std::wstring text = wide.lpszText ? wide.lpszText : wide.szText;
        EXPECT_EQ(std::string(text.begin(), text.end()), expected[tab]);
    }
}

TEST_F(WindowLayout, WindowCarriesTheProgramsIcon) {
    openDemo();
    EXPECT_NE(GetClassLongPtrA(window->hwnd(), GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrA(window->hwnd(), GCLP_HICONSM), 0);
}

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ProgramIcon, HoldsA32And16PixelImageIn16Colours) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDI_VELKO), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(resource, nullptr);
    const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(module, resource)));
    const WORD count = directory[2];
    const auto* entries = reinterpret_cast<const IconDirectoryEntry*>(directory + 3);
    std::vector<std::pair<int, int>> images;
    for (WORD i = 0; i < count; ++i) images.emplace_back(entries[i].width, entries[i].colourCount);
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, (std::vector<std::pair<int, int>>{{16, 16}, {32, 16}}));
}

}  // namespace
}  // namespace velko::testing
