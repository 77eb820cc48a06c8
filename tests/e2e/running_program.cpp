#include "running_program.h"

#include <commctrl.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace velko::e2e {
namespace {

std::runtime_error lastError(const std::string& what) {
    return std::runtime_error(what + " failed with error " + std::to_string(GetLastError()));
}

DWORD milliseconds(std::chrono::milliseconds duration) { return static_cast<DWORD>(duration.count()); }

}  // namespace

RunningProgram::RunningProgram() {
    std::string commandLine = std::string("\"") + VELKO_PROGRAM + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(VELKO_PROGRAM, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        throw lastError("starting " + std::string(VELKO_PROGRAM));
}

RunningProgram::~RunningProgram() {
    if (!waitForExit(0ms)) {
        TerminateProcess(process_.hProcess, 255);
        WaitForSingleObject(process_.hProcess, INFINITE);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND RunningProgram::waitForWindow(std::string_view className, std::string_view title,
                                   std::chrono::milliseconds patience) const {
    HWND found = nullptr;
    waitUntil([&] { return (found = topLevelWindow(processId(), className, title)) != nullptr; }, patience);
    return found;
}

std::optional<DWORD> RunningProgram::waitForExit(std::chrono::milliseconds patience) const {
    if (WaitForSingleObject(process_.hProcess, milliseconds(patience)) != WAIT_OBJECT_0) return std::nullopt;
    DWORD exitCode = 0;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return exitCode;
}

// The foreground changes at once, but the program's thread takes over activation and focus
// only when it handles the change; until then key strokes would reach no window of it. X, too,
// tells the program of focus changes later, and one it takes in after the window came to the
// front can take the window out of it again (seen under load): so the window is brought to the
// front until it stays there once its thread has taken in everything it held.
bool RunningProgram::bringToFront(HWND topLevel) const {
    const auto inFront = [&] {
        const GUITHREADINFO info = guiThreadInfo(process_.dwThreadId);
        const bool focusInside = info.hwndFocus == topLevel || IsChild(topLevel, info.hwndFocus);
        return GetForegroundWindow() == topLevel && info.hwndActive == topLevel && focusInside;
    };
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        SetForegroundWindow(topLevel);
        if (!waitUntil(inFront, 1s)) continue;
        wakeThreadOf(topLevel);
        if (!waitUntil([&] { return !inFront(); }, kSettling)) return true;
    }
    return false;
}

bool RunningProgram::waitForFocus(HWND window) const {
    return waitUntil([&] { return focus() == window; });
}

RECT RunningProgram::tabOnScreen(HWND tabStrip, int index) const {
    const auto release = [&](void* memory) { VirtualFreeEx(process_.hProcess, memory, 0, MEM_RELEASE); };
    const std::unique_ptr<void, decltype(release)> remote(
        VirtualAllocEx(process_.hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE), release);
    if (!remote) throw lastError("VirtualAllocEx");
    RECT rect{};
    if (!sendMessage(tabStrip, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.get())) ||
        !ReadProcessMemory(process_.hProcess, remote.get(), &rect, sizeof rect, nullptr))
        throw lastError("reading the rectangle of tab " + std::to_string(index));
    MapWindowPoints(tabStrip, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace velko::e2e
