// The baseline of start-up: a Win32 program that opens one empty window and does nothing else.
#include <windows.h>

#include "baseline_window.h"

namespace {

constexpr char kWindowClass[] = "VelkoBenchMinimalWindow";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = velko::bench::endingWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExA(&windowClass);
    const HWND window = CreateWindowExA(0, kWindowClass, "Minimal window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    return velko::bench::runMessageLoop();
}
