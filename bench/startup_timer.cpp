// Times start-up: from CreateProcess until the program's main window is visible. Runs the
// programs given in turn, so that drift of the machine touches each alike, and prints the
// median of each; a start-up longer than the budget is given up:
//   bench_startup <runs> <budget ms> <program.exe> <window class> [<program.exe> <window class>]...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

using velko::bench::nowMs;

struct Program {
    std::string path;
    std::string windowClass;
    std::vector<double> startUps{};
    bool timedOut = false;
};

bool windowShown(const Program& program, DWORD processId) {
    const HWND window = FindWindowA(program.windowClass.c_str(), nullptr);
    DWORD owner = 0;
    if (!window || !GetWindowThreadProcessId(window, &owner) || owner != processId) return false;
    return IsWindowVisible(window);
}

// Ends the program at once: how it ends is no part of its start-up.
void endProgram(const PROCESS_INFORMATION& process) {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The time until the window showed; nothing when it did not within the timeout.
std::optional<double> timeStartUp(const Program& program, double timeoutMs) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program.path + "\"";
    const double start = nowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %s: error %lu\n", program.path.c_str(), GetLastError());
        std::exit(2);
    }
    std::optional<double> elapsed;
    for (;;) {
        if (windowShown(program, process.dwProcessId)) {
            elapsed = nowMs() - start;
            break;
        }
        if (nowMs() - start > timeoutMs) break;
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "%s ended before its window showed\n", program.path.c_str());
            std::exit(2);
        }
    }
    endProgram(process);
    return elapsed;
}

// A program runs again only while its runs so far and one more as long as its last stay within
// the budget: a start-up of many seconds needs no median of seven.
bool withinBudget(const Program& program, double budgetMs) {
    if (program.timedOut) return false;
    if (program.startUps.empty()) return true;
    double spent = 0;
    for (const double startUp : program.startUps) spent += startUp;
    return spent + program.startUps.back() <= budgetMs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || (argc - 3) % 2 != 0) {
        std::fprintf(stderr, "usage: bench_startup <runs> <budget ms> (<program.exe> <window class>)...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const double budgetMs = std::atof(argv[2]);
    std::vector<Program> programs;
    for (int i = 3; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1]});
    for (int run = 0; run < runs; ++run) {
        for (Program& program : programs) {
            if (!withinBudget(program, budgetMs)) continue;
            const std::optional<double> elapsed = timeStartUp(program, budgetMs);
            if (elapsed) program.startUps.push_back(*elapsed);
            else program.timedOut = true;
        }
    }
    for (const Program& program : programs) {
        if (program.timedOut) std::printf("startup_ms=timeout runs=%zu\n", program.startUps.size());
        else std::printf("startup_ms=%.1f runs=%zu\n", velko::bench::median(program.startUps), program.startUps.size());
    }
    return 0;
}
