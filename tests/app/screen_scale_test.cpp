// The layout at the screen's resolution: every control lies where the layout table puts it at
// 96 DPI, scaled by the DPI over 96, to the nearest pixel, and every caption fits its control on
// one line. The screen's DPI is the one VELKO_SCREEN_DPI names (96 when unset), set in the Wine
// prefix the test runs in.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/input_box.h"
#include "app/resource.h"
#include "ui_text.h"
#include "window_fixture.h"

namespace velko::testing {
namespace {

UINT screenDpi() {
    const char* named = std::getenv("VELKO_SCREEN_DPI");
    return named ? static_cast<UINT>(std::atoi(named)) : 96;
}

bool nearest(LONG measured, int units, UINT dpi) { return std::abs(measured - units * dpi / 96.0) <= 0.5; }

std::string describe(const RECT& rect) {
    std::ostringstream text;
    text << rect.left << "," << rect.top << " " << rect.right - rect.left << "x" << rect.bottom - rect.top;
    return text.str();
}

// A caption on one line in its control's own font: the width it needs and the width it has. A
// label's text may run from edge to edge; a button keeps clear of its edges, and a group box
// indents its caption from both of its corners.
struct CaptionFit {
    std::string caption;
    int needed;
    int room;
};

CaptionFit fitOf(HWND control, Kind kind, UINT dpi) {
    const HWND drawn = kind == Kind::Frame ? GetWindow(GetWindow(control, GW_CHILD), GW_HWNDLAST) : control;
    char caption[256] = "";
    GetWindowTextA(drawn, caption, sizeof caption);
    const HDC dc = GetDC(drawn);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(drawn, WM_GETFONT, 0, 0)));
    RECT needed{};
    DrawTextA(dc, caption, -1, &needed, DT_CALCRECT | DT_SINGLELINE | (kind == Kind::Label ? DT_NOPREFIX : 0));
    SelectObject(dc, before);
    ReleaseDC(drawn, dc);
    const int margin = kind == Kind::Frame    ? MulDiv(7, static_cast<int>(dpi), 96)
                       : kind == Kind::Button ? GetSystemMetricsForDpi(SM_CXEDGE, dpi)
                                              : 0;
    RECT client;
    GetClientRect(drawn, &client);
    return {caption, needed.right, client.right - 2 * margin};
}

// The input box as the window shows it to ask for the XAMPP directory: measured, then closed.
constexpr std::pair<int, Kind> kInputBoxItems[] = {
    {IDC_INPUT_PROMPT, Kind::Label}, {IDOK, Kind::Button}, {IDCANCEL, Kind::Button}};
std::vector<CaptionFit> inputBoxFits;

void CALLBACK measureInputBox(HWND, UINT, UINT_PTR, DWORD) {
    const HWND box = FindWindowA("#32770", std::string(text::kPromptTitle).c_str());
    if (!box) return;
    for (const auto& [id, kind] : kInputBoxItems)
        inputBoxFits.push_back(fitOf(GetDlgItem(box, id), kind, GetDpiForWindow(box)));
    EndDialog(box, IDCANCEL);
}

class ScreenScale : public WindowTest {
protected:
    void SetUp() override {
        installDemo();
        ASSERT_TRUE(open());
    }

    // A control's rectangle in its container.
    RECT placeOf(HWND control) const {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    void expectLayoutAt(UINT dpi) const {
        RECT client;
        GetClientRect(window->hwnd(), &client);
        EXPECT_TRUE(nearest(client.right, kClientWidth, dpi) && nearest(client.bottom, kClientHeight, dpi))
            << "client area " << describe(client) << " at " << dpi << " DPI";
        for (const ControlSpec& spec : kLayout) {
            const RECT rect = placeOf(control(spec.name));
            EXPECT_TRUE(nearest(rect.left, spec.left, dpi) && nearest(rect.top, spec.top, dpi) &&
                        nearest(rect.right - rect.left, spec.width, dpi) &&
                        nearest(rect.bottom - rect.top, spec.height, dpi))
                << "control " << static_cast<int>(spec.name) << " at " << describe(rect) << " at " << dpi
                << " DPI, layout " << spec.left << "," << spec.top << " " << spec.width << "x" << spec.height;
        }
    }

};

TEST_F(ScreenScale, WindowRunsAtTheScreensDpiAsAPerMonitorAwareProcess) {
    EXPECT_EQ(GetDpiForWindow(window->hwnd()), screenDpi());
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window->hwnd())),
              DPI_AWARENESS_PER_MONITOR_AWARE);
}

TEST_F(ScreenScale, EveryControlIsItsLayoutRectangleScaledToTheScreen) { expectLayoutAt(screenDpi()); }

// As when the window is moved to a monitor of another resolution.
TEST_F(ScreenScale, EveryControlFollowsAChangeOfResolution) {
    const UINT other = screenDpi() == 96 ? 144 : 96;
    RECT suggested;
    GetWindowRect(window->hwnd(), &suggested);
    SendMessageA(window->hwnd(), WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    expectLayoutAt(other);
}

// Each caption in the font the window and the input box draw it with: a label wraps a line too
// long for it and cuts off the rest. The tabs are left out: their strip sizes them to their text.
TEST_F(ScreenScale, EveryCaptionFitsItsControlOnOneLine) {
    std::vector<CaptionFit> fits;
    for (const ControlSpec& spec : kLayout)
        if (spec.kind == Kind::Label || spec.kind == Kind::Button || spec.kind == Kind::Frame)
            fits.push_back(fitOf(control(spec.name), spec.kind, screenDpi()));
    inputBoxFits.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, measureInputBox);
    showInputBox(GetModuleHandleA(nullptr), window->hwnd(), std::string(text::kPromptText),
                 std::string(text::kPromptTitle), std::string(text::kDefaultXamppPath));
    KillTimer(nullptr, timer);
    ASSERT_EQ(inputBoxFits.size(), std::size(kInputBoxItems));
    fits.insert(fits.end(), inputBoxFits.begin(), inputBoxFits.end());
    for (const CaptionFit& fit : fits)
        EXPECT_LE(fit.needed, fit.room) << '"' << fit.caption << "\" at " << screenDpi() << " DPI";
}

}  // namespace
}  // namespace velko::testing
