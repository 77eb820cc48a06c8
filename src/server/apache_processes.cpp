#include "server/apache_processes.h"

#include <tlhelp32.h>

#include <algorithm>

#include "ui_text.h"
#include "win/failure.h"
#include "win/program_paths.h"
#include "win/win_error.h"

namespace velko {
namespace {

// Apache finishes the requests it serves before a graceful stop ends it.
constexpr std::chrono::milliseconds kGracefulLimit{10000};
constexpr std::chrono::milliseconds kEndLimit{5000};

bool isParent(const ProgramProcess& process, const std::vector<ProgramProcess>& processes) {
    return std::none_of(processes.begin(), processes.end(),
                        [&](const ProgramProcess& other) { return other.id == process.parentId; });
}

void askToStop(const ProgramProcess& parent) {
    const std::string name = "ap" + std::to_string(parent.id) + "_shutdown";
    const EventHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str()));
    if (event) SetEvent(event.get());
}

bool allEnded(const std::vector<ProgramProcess>& processes) {
    return std::all_of(processes.begin(), processes.end(), [](const ProgramProcess& p) { return hasEnded(p.handle); });
}

}  // namespace

std::vector<ProgramProcess> processesOf(const std::string& programFinalPath) {
    std::vector<ProgramProcess> found;
    const FileHandle snapshot(orNull(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    const std::string fileName = programFinalPath.substr(programFinalPath.find_last_of('\\') + 1);
    for (BOOL more = snapshot && Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        // Only processes of the program's file name are opened and asked for their image.
        if (lstrcmpiA(entry.szExeFile, fileName.c_str()) != 0 || !isSameFile(imageOf(entry.th32ProcessID), programFinalPath))
            continue;
        ProcessHandle handle(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (handle) found.push_back({std::move(handle), entry.th32ProcessID, entry.th32ParentProcessID});
    }
    return found;
}

void stopProcesses(const std::vector<ProgramProcess>& processes, const ServerProgress& progress) {
    for (const ProgramProcess& process : processes)
        if (isParent(process, processes)) askToStop(process);
    if (waitUntil(progress, kGracefulLimit, [&] { return allEnded(processes); })) return;
    for (const ProgramProcess& process : processes) TerminateProcess(process.handle.get(), 1);
    if (!waitUntil(progress, kEndLimit, [&] { return allEnded(processes); }))
        throw Failure(failure_number::PermissionDenied, std::string(text::kApacheStays));
}

bool hasEnded(const ProcessHandle& process) { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }

}  // namespace velko
