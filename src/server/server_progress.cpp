#include "server/server_progress.h"

#include <windows.h>

namespace velko {
namespace {

// Long enough to cost nothing, short enough that the window's events never wait noticeably.
constexpr DWORD kLookIntervalMs = 50;

}  // namespace

bool waitUntil(const ServerProgress& progress, std::chrono::milliseconds limit, const std::function<bool()>& done) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(limit.count());
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        // Wakes early when the window has input or messages, so that it answers at once.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kLookIntervalMs, QS_ALLINPUT);
        progress.yield();
    }
}

}  // namespace velko
