#pragma once
// Apache run as plain processes of its program, as XAMPP's control panel runs it by default: a
// parent, which answers the graceful stop, and the child that serves.
#include <windows.h>

#include <string>
#include <vector>

#include "server/server_progress.h"
#include "win/handles.h"

namespace velko {

struct ProgramProcess {
    ProcessHandle handle;  // held, so that the id names this process and no later one
    DWORD id = 0;
    DWORD parentId = 0;
};

// The running processes whose program is the file at the final path.
std::vector<ProgramProcess> processesOf(const std::string& programFinalPath);

// Stops the processes as Apache for Windows stops: each parent's graceful-stop event
// ("ap<id>_shutdown") is set, and what still runs past a time limit is ended. A failure when a
// process stays even then.
void stopProcesses(const std::vector<ProgramProcess>& processes, const ServerProgress& progress);

// Whether the process has ended.
bool hasEnded(const ProcessHandle& process);

}  // namespace velko
