#pragma once
// What the server room gives back to the window while it waits for Apache: a word of what it does,
// and the window's events handled, so that the window stays alive and repaints.
#include <chrono>
#include <functional>
#include <string_view>

namespace velko {

struct ServerProgress {
    // Shows what is being done now; the empty text once it is done.
    std::function<void(std::string_view status)> say;
    // Lets the window handle its pending events.
    std::function<void()> yield;
};

// Waits until done() holds, at most for the limit, handling the window's events between looks.
// Whether done() held.
bool waitUntil(const ServerProgress& progress, std::chrono::milliseconds limit, const std::function<bool()>& done);

}  // namespace velko
