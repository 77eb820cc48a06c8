#pragma once
// Another program, run by its full path with no window and none of the configurator's console
// input. One that the configurator waits for has its output captured, and it ends, with every
// process it started, when it outlives its time limit.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/handles.h"

namespace velko {

struct ProgramCall {
    std::string program;  // its full path: nothing is searched for
    std::vector<std::string> arguments;
    std::string workingDirectory;
};

// How a program that ran to its end ended: its exit code, and the first 64 KiB of what it wrote to
// its standard output and error, together in the order written.
struct ProgramOutcome {
    DWORD exitCode = 0;
    std::string output;
};

// Runs the program and waits for it, calling whileWaiting every few hundredths of a second (at
// least once before it gives up). A program that has not ended within the limit is ended, with
// every process it started, and gives nothing. A program that cannot be started is a Failure.
std::optional<ProgramOutcome> runAndCapture(const ProgramCall& call, std::chrono::milliseconds limit,
                                            const std::function<void()>& whileWaiting);

// Starts the program and leaves it running on its own, past the end of the configurator, with a
// console of its own that nobody sees. A program that cannot be started is a Failure.
ProcessHandle startDetached(const ProgramCall& call);

}  // namespace velko
