#include "desktop.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace velko::e2e {
namespace {

constexpr UINT kReplyTimeoutMs = 2000;

// The windows EnumWindows or EnumChildWindows hands over, in their order.
BOOL CALLBACK collect(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> descendants(HWND ancestor) {
    std::vector<HWND> windows;
    EnumChildWindows(ancestor, collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The title as the window manager keeps it; no message to the program, which may be busy.
std::string titleOf(HWND window) {
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

DWORD processOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Sleep(20);
    }
    return true;
}

HWND topLevelWindow(DWORD processId, std::string_view className, std::string_view title) {
    for (HWND window : topLevelWindows())
        if (processOf(window) == processId && classOf(window) == className && titleOf(window) == title) return window;
    return nullptr;
}

HWND descendantWithId(HWND ancestor, int id) {
    for (HWND window : descendants(ancestor))
        if (GetDlgCtrlID(window) == id) return window;
    return nullptr;
}

std::string classOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &answer))
        throw std::runtime_error("window " + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                                 " did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(answer);
}

void wakeThreadOf(HWND window) {
    sendMessage(window, WM_NULL);
    sendMessage(window, WM_NULL);
}

std::string textOf(HWND window) {
    std::string text(static_cast<size_t>(sendMessage(window, WM_GETTEXTLENGTH)) + 1, '\0');
    text.resize(static_cast<size_t>(sendMessage(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::string textsOfDescendants(HWND ancestor, std::string_view className) {
    std::string texts;
    for (HWND window : descendants(ancestor)) {
        if (classOf(window) != className) continue;
        if (!texts.empty()) texts += '\n';
        texts += textOf(window);
    }
    return texts;
}

GUITHREADINFO guiThreadInfo(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info)) return GUITHREADINFO{};
    return info;
}

POINT centreOf(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

POINT centreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return centreOf(rect);
}

}  // namespace velko::e2e
