#pragma once
// This installation's Apache restarted on the configuration that a save has just put in place,
// and confirmed answering there; or, when it does not answer, started again as it ran before.
#include <optional>
#include <string>

#include "server/http_probe.h"
#include "server/server_progress.h"
#include "win/failure.h"
#include "win/handles.h"

namespace velko {

// The installation's Apache: its program, the folder the control panel starts it in, its error log.
struct ApacheInstallation {
    std::string program;
    std::string folder;
    std::string errorLog;
};

// How the installation's Apache runs now: as the service named, or as processes of its program.
// Apaches of other installations, and every other program, are never counted.
struct RunningApache {
    std::string programFinalPath;
    std::optional<std::string> service;
};
std::optional<RunningApache> runningApache(const ApacheInstallation& apache);

class ApacheRestart {
public:
    ApacheRestart(ApacheInstallation apache, RunningApache running, ServerProgress progress);

    // Stops Apache as it runs, starts it again the same way and waits until it answers HTTP at the
    // address. When it ends or does not answer in time, the failure quotes Apache's own words: the
    // lines of its error log since this start, or the service's exit code.
    void restartAt(const ApacheAddress& address);

    // Whether Apache has been stopped, so that it must be started again once the files are back.
    bool hasStopped() const { return stopped_; }

    // Once the files are back as they were: stops what runs of Apache, starts it as it ran and waits
    // until it answers at the address, where one is known. The failure that undid the save, with
    // word of Apache.
    Failure startedAgainAt(const std::optional<ApacheAddress>& address, const Failure& why);

private:
    void stopAsRunning();
    void start();
    bool answersAt(const ApacheAddress& address);
    bool hasEndedSinceStart() const;
    std::string wordsSinceStart() const;

    ApacheInstallation apache_;
    RunningApache running_;
    ServerProgress progress_;
    bool stopped_ = false;
    ProcessHandle started_;
    unsigned long long logSizeAtStart_ = 0;
};

}  // namespace velko
