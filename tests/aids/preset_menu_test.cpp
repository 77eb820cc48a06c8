// The two pop-ups of presets: the encoder presets built at start-up from the preset file, and the
// fixed segment lengths.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace velko::testing {
namespace {

using C = Control;

// An item's caption, or nothing for a separator.
using Item = std::optional<std::string>;
const Item kSeparator = std::nullopt;

std::vector<Item> menuItems(HMENU menu) {
    std::vector<Item> items;
    for (int position = 0, count = GetMenuItemCount(menu); position < count; ++position) {
        char caption[512] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = sizeof caption;
        GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        items.push_back(info.fType & MFT_SEPARATOR ? kSeparator : Item(caption));
    }
    return items;
}

class PresetMenu : public WindowTest {
protected:
    static constexpr std::string_view kPresetFile = "xampp\\htdocs\\velko\\enc_opts.txt";

    // Starts the program on the demo installation with the preset file given.
    void openWithPresets(std::string_view presets) {
        window.reset();
        installDemo();
        scratch.write(kPresetFile, presets);
        ASSERT_TRUE(open());
    }

    // Opens the pop-up beside the options, choosing the item at a position or nothing.
    void openPresets(std::optional<int> choice = std::nullopt) {
        dialogs.popupChoices.push_back(choice);
        click(C::cmdMO);
    }
    std::vector<Item> shownPresets() {
        openPresets();
        return dialogs.popups.empty() ? std::vector<Item>{} : menuItems(dialogs.popups.back().menu);
    }
};

TEST_F(PresetMenu, DemoPresetsAreListedInFileOrderWithTheDefaultMarked) {
    installDemo();
    ASSERT_TRUE(open());
    EXPECT_EQ(shownPresets(),
              (std::vector<Item>{"Mencoder LQ, 250br", "Mencoder MQ, 400br", "Mencoder Standard, 500br",
                                 "Mencoder HQ, 612br (DEFAULT)", kSeparator, "Mencoder VHQ, 1000br",
                                 "Mencoder Widescreen, 800br", kSeparator, "Mencoder Audio only, 64br"}));
    ASSERT_EQ(dialogs.popups.size(), 1u);
    EXPECT_EQ(dialogs.popups[0].owner, window->hwnd());
    EXPECT_EQ(dialogs.popups[0].menu, window->presetMenu());
}

struct MenuCase {
    std::string_view name;
    std::string file;
    std::vector<Item> items;
};

TEST_F(PresetMenu, EveryLineOfThePresetFileIsAnItemAtItsPlace) {
    const std::vector<MenuCase> cases{
        {"name before the first TAB", "Fast\tsmall files\t-ovc lavc\r\nSlow\t-ovc x264\r\n", {"Fast", "Slow"}},
        {"default marker in any letter case, on several lines",
         "One\tx\to1\r\nMENCODER hq, 612BR copy\tx\r\nThree\tmiddle Mencoder HQ, 612br\to3\r\n"
         "Four\t-o mencoder hq, 612BR\r\nmencoder hq, 612br\r\n",
         {"One", "MENCODER hq, 612BR copy (DEFAULT)", "Three (DEFAULT)", "Four (DEFAULT)", kSeparator}},
        {"lines without TAB are separators", "A\ta\r\n\r\nno tab here\r\nB\tb", {"A", kSeparator, kSeparator, "B"}},
        {"a caption of \"-\" is a separator too", "-\t-o dash\r\n-\tmencoder hq, 612br\r\n--\tx\r\n", {kSeparator, "- (DEFAULT)", "--"}},
        {"a line that begins with TAB has an empty name", "\t-o x\r\n\tmencoder hq, 612br\r\n", {"", " (DEFAULT)"}},
        {"a terminator at the end adds no item", "A\ta\r\n", {"A"}},
        {"a lone CR ends a line", "A\ta\rB\tb\r", {"A", "B"}},
        {"one empty line", "\r\n", {kSeparator}},
        {"an empty file", "", {}},
    };
    for (const MenuCase& test : cases) {
        SCOPED_TRACE(test.name);
        openWithPresets(test.file);
        EXPECT_EQ(shownPresets(), test.items);
    }
}

struct ChoiceCase {
    std::string_view name;
    int position;
    std::string options;
};

TEST_F(PresetMenu, ChoosingAPresetPutsTheTextAfterItsLastTabIntoTheOptions) {
    const std::string file =
        "Name\tmiddle text\t-ovc lavc -oac mp3lame\r\n"  // 0
        "One tab\t-ovc copy\r\n"                        // 1
        "----\r\n"                                      // 2
        "\r\n"                                          // 3
        "After separators\tx\t\t-vf scale=320:240\r\n"  // 4
        "Empty options\tsomething\t\r\n"                // 5
        "\tno name\t-o nameless\r\n";                   // 6
    const std::vector<ChoiceCase> cases{
        {"middle ignored", 0, "-ovc lavc -oac mp3lame"},
        {"one TAB", 1, "-ovc copy"},
        {"after separators the items keep their own lines", 4, "-vf scale=320:240"},
        {"trailing TAB empties the options", 5, ""},
        {"empty name", 6, "-o nameless"},
    };
    openWithPresets(file);
    for (const ChoiceCase& test : cases) {
        SCOPED_TRACE(test.name);
        setTextOf(C::txtMenOpts, "previous options");
        openPresets(test.position);
        EXPECT_EQ(textOf(C::txtMenOpts), test.options);
    }
}

TEST_F(PresetMenu, ChoosingChangesNoOtherFieldAndNoFile) {
    installDemo();
    ASSERT_TRUE(open());
    const std::string settings = scratch.read("xampp\\htdocs\\velko\\config.dat");
    const std::string flvBefore = textOf(C::txtFLV), lesBefore = textOf(C::txtLES);
    openPresets(3);
    EXPECT_EQ(textOf(C::txtMenOpts),
              "-ovc lavc -lavcopts vcodec=flv:vbitrate=612:mbd=2:mv0:trell:v4mv:cbp:last_pred=3 -oac mp3lame "
              "-lameopts abr:br=96 -srate 44100 -vf scale=480:360");
    EXPECT_EQ(textOf(C::txtFLV), flvBefore);
    EXPECT_EQ(textOf(C::txtLES), lesBefore);
    EXPECT_EQ(scratch.read("xampp\\htdocs\\velko\\config.dat"), settings);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PresetMenu, DismissingThePopupChangesNothing) {
    installDemo();
    ASSERT_TRUE(open());
    setTextOf(C::txtMenOpts, "kept as it is");
    openPresets();
    ASSERT_EQ(dialogs.popups.size(), 1u);
    EXPECT_EQ(textOf(C::txtMenOpts), "kept as it is");
}

TEST_F(PresetMenu, AfterAReloadThePopupStillOffersThePresetsOfStartUp) {
    openWithPresets("First\t-o first\r\nSecond\t-o second\r\n");
    const std::vector<Item> atStartUp = shownPresets();
    scratch.write(kPresetFile, "Other\t-o other\r\nMore\t-o more\r\nThird\t-o third\r\n");
    click(C::cmdPathOK);
    ASSERT_FALSE(dialogs.endedWith);
    EXPECT_EQ(window->presetStore().size(), 5u) << "the store grows with every load";
    EXPECT_EQ(shownPresets(), atStartUp);
    openPresets(1);
    EXPECT_EQ(textOf(C::txtMenOpts), "-o second");
}

std::string numberedPresets(int count) {
    std::string file;
    for (int i = 0; i < count; ++i) file += "Preset " + std::to_string(i) + "\tx\t-o " + std::to_string(i) + "\r\n";
    return file;
}

TEST_F(PresetMenu, AHundredThousandPresetLinesAllLoad) {
    openWithPresets("First\t-o first\r\n");
    scratch.write(kPresetFile, numberedPresets(100000));
    click(C::cmdPathOK);
    ASSERT_FALSE(dialogs.endedWith);
    const std::vector<std::string>& store = window->presetStore();
    ASSERT_EQ(store.size(), 100001u);
    EXPECT_EQ(store[32768], "Preset 32767\tx\t-o 32767");
    EXPECT_EQ(store.back(), "Preset 99999\tx\t-o 99999");
}

std::string menuCaptionAt(HMENU menu, int position) {
    char caption[128] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), caption, sizeof caption, MF_BYPOSITION);
    return caption;
}

TEST_F(PresetMenu, AsManyPresetsAsOneGroupHoldsStayInOneMenu) {
    openWithPresets(numberedPresets(256));
    ASSERT_EQ(GetMenuItemCount(window->presetMenu()), 256);
    EXPECT_EQ(GetSubMenu(window->presetMenu(), 0), nullptr);
    openPresets(255);
    EXPECT_EQ(textOf(C::txtMenOpts), "-o 255");
}

// A long list comes in submenus of 256, past the 16-bit item numbers of old: every item still
// stands for its own line.
TEST_F(PresetMenu, ALongListComesInGroupsWhoseItemsStandForTheirOwnLines) {
    constexpr int kLines = 32770;
    openWithPresets(numberedPresets(kLines));
    const HMENU menu = window->presetMenu();
    ASSERT_EQ(GetMenuItemCount(menu), 129);
    EXPECT_EQ(menuCaptionAt(menu, 0), "Presets 1 to 256");
    EXPECT_EQ(menuCaptionAt(menu, 128), "Presets 32769 to 32770");
    for (const int line : {0, 255, 256, 32767, 32769}) {
        const HMENU group = GetSubMenu(menu, line / 256);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(menuCaptionAt(group, line % 256), "Preset " + std::to_string(line));
        SendMessageA(window->hwnd(), WM_MENUCOMMAND, static_cast<WPARAM>(line % 256), reinterpret_cast<LPARAM>(group));
        EXPECT_EQ(textOf(C::txtMenOpts), "-o " + std::to_string(line));
    }
}

struct SegmentCase {
    std::string caption;
    std::string seconds;
};

TEST_F(PresetMenu, EachSegmentPresetWritesItsSecondsOverWhateverWasThere) {
    const std::vector<SegmentCase> cases{
        {"Unlimited (0)", "0"},
        {"1 minute (60)", "60"},
        {"2 minutes (120)", "120"},
        {"2.7 minutes (162) - DEFAULT", "162"},
        {"3 minutes (180)", "180"},
        {"5 minutes (240)", "240"},
        {"10 minutes (600)", "600"},
        {"30 minutes (1800)", "1800"},
        {"1 hour (3600)", "3600"},
    };
    installDemo();
    ASSERT_TRUE(open());
    std::vector<std::string> captions;
    for (const SegmentCase& test : cases) captions.push_back(test.caption);
    for (const std::string previous : {"", "not a number", "99999"}) {
        for (size_t position = 0; position < cases.size(); ++position) {
            SCOPED_TRACE(cases[position].caption + " over \"" + previous + "\"");
            setTextOf(C::txtLES, previous);
            dialogs.popupChoices.push_back(static_cast<int>(position));
            click(C::cmdLOS);
            EXPECT_EQ(textOf(C::txtLES), cases[position].seconds);
            EXPECT_EQ(dialogs.popups.back().captions, captions);
            EXPECT_EQ(dialogs.popups.back().menu, window->segmentMenu());
            EXPECT_EQ(dialogs.popups.back().owner, window->hwnd());
        }
    }
}

TEST_F(PresetMenu, DismissingTheSegmentPopupLeavesTheField) {
    installDemo();
    ASSERT_TRUE(open());
    setTextOf(C::txtLES, "77");
    click(C::cmdLOS);
    ASSERT_EQ(dialogs.popups.size(), 1u);
    EXPECT_EQ(textOf(C::txtLES), "77");
}

}  // namespace
}  // namespace velko::testing
