// The layout at the screen's resolution: every control lies where the layout table puts it at
// 96 DPI, scaled by the DPI over 96, to the nearest pixel. The screen's DPI is the one
// VELKO_SCREEN_DPI names (96 when unset), set in the Wine prefix the test runs in.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

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

}  // namespace
}  // namespace velko::testing
