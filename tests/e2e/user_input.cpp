#include "user_input.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "desktop.h"

namespace velko::e2e {
namespace {

INPUT keyStroke(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

INPUT characterStroke(wchar_t character, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | flags;
    return input;
}

// Screen pixels as SendInput's absolute coordinates, 0 to 65535 across the screen, rounded up
// so that they come back as the same pixel.
LONG absolute(LONG pixel, int screenSize) { return static_cast<LONG>((pixel * 65536LL + screenSize - 1) / screenSize); }

INPUT mouseEvent(DWORD flags, POINT point = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = absolute(point.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = absolute(point.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags;
    return input;
}

void send(std::vector<INPUT> inputs) {
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) throw std::runtime_error("SendInput refused the input");
}

// Wine moves the X pointer after the mouse, and X reports those moves back later; a late report
// of an earlier move can put the mouse back where it was. So the mouse is moved until it has
// stayed at the point for a while: then no report is pending and a click lands at the point.
void moveMouseTo(POINT point) {
    const auto cursorAt = [&] {
        POINT cursor{};
        return GetCursorPos(&cursor) && cursor.x == point.x && cursor.y == point.y;
    };
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        send({mouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point)});
        if (waitUntil(cursorAt, 100ms) && !waitUntil([&] { return !cursorAt(); }, kSettling)) return;
    }
    throw std::runtime_error("the mouse does not stay at " + std::to_string(point.x) + "," + std::to_string(point.y));
}

}  // namespace

void typeText(std::string_view text) {
    std::wstring characters(text.size(), L'\0');
    characters.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                              characters.data(), static_cast<int>(characters.size()))));
    std::vector<INPUT> inputs;
    for (wchar_t character : characters) {
        inputs.push_back(characterStroke(character, 0));
        inputs.push_back(characterStroke(character, KEYEVENTF_KEYUP));
    }
    send(std::move(inputs));
}

void typeOver(std::string_view text) {
    pressKey(VK_HOME);
    pressKey(VK_END, {VK_SHIFT});
    typeText(text);
}

void pressKey(WORD virtualKey, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(keyStroke(modifier, 0));
    inputs.push_back(keyStroke(virtualKey, 0));
    inputs.push_back(keyStroke(virtualKey, KEYEVENTF_KEYUP));
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier)
        inputs.push_back(keyStroke(*modifier, KEYEVENTF_KEYUP));
    send(std::move(inputs));
}

// The press and the release carry the point too: a late report of an earlier position can still
// move the mouse after it has stayed at the point (seen under load), and a click sent without a
// position lands wherever the mouse is then.
void clickAt(POINT point) {
    moveMouseTo(point);
    constexpr DWORD kAtPoint = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send({mouseEvent(kAtPoint | MOUSEEVENTF_LEFTDOWN, point), mouseEvent(kAtPoint | MOUSEEVENTF_LEFTUP, point)});
}

}  // namespace velko::e2e
