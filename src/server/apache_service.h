#pragma once
// Apache run as a Windows service, reached through the service control manager. The configurator
// stops and starts a service; it never installs, changes or removes one.
#include <windows.h>

#include <optional>
#include <string>

#include "server/server_progress.h"

namespace velko {

// A running (or starting) service whose program, the first word of its command line, is the file
// at the final path; nothing when there is none or the manager cannot be asked.
std::optional<std::string> runningServiceOf(const std::string& programFinalPath);

// Asks the service to stop and waits until it has; a failure when it refuses or stays.
void stopService(const std::string& name, const ServerProgress& progress);

// Asks the service to start; whether it then runs is for the caller to see.
void startService(const std::string& name);

// Whether the service has stopped, and then the exit code it reported (its own, when it gave one).
struct ServiceEnd {
    bool stopped = false;
    DWORD exitCode = 0;
};
ServiceEnd serviceEnd(const std::string& name);

}  // namespace velko
