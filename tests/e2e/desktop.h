#pragma once
// Looking at another process's windows from outside, as far as Wine lets one process see
// another's: the window lists, texts, visibility, geometry and the keyboard focus.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace velko::e2e {

using namespace std::chrono_literals;

// How long a person would wait for the program to react before calling it stuck.
inline constexpr std::chrono::milliseconds kPatience = 10s;

// Polls the condition until it holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience = kPatience);

// A top-level window of the process with this class and title, shown or not; nullptr if none.
HWND topLevelWindow(DWORD processId, std::string_view className, std::string_view title);

// The first window below ancestor, at any depth, with this control id; nullptr if none.
HWND descendantWithId(HWND ancestor, int id);

std::string classOf(HWND window);

// Sends a message to a window of another process and returns its answer; throws when the
// program does not answer in time, so that a hung program fails the test instead of stopping it.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// A thread takes in what X reports of its windows only when it wakes, and what it has read from
// X can wait there until the next message. Two messages sent to the window make its thread take
// it in: the second is answered only once the thread has waited again after the first.
void wakeThreadOf(HWND window);

// How long what X reports may come after the change it reports, as seen under load.
inline constexpr std::chrono::milliseconds kSettling = 300ms;

// The window's text, read with WM_GETTEXT, which Wine carries across processes.
std::string textOf(HWND window);

// The texts of the window's descendants of a class, in window order, joined by line breaks.
std::string textsOfDescendants(HWND ancestor, std::string_view className);

// The active window, the focus and the like of a thread of another process; all empty when the
// thread has no windows.
GUITHREADINFO guiThreadInfo(DWORD threadId);

POINT centreOf(const RECT& rect);
POINT centreOf(HWND window);

}  // namespace velko::e2e
