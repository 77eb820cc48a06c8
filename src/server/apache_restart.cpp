#include "server/apache_restart.h"

#include <windows.h>

#include <vector>

#include "server/apache_processes.h"
#include "server/apache_service.h"
#include "server/child_process.h"
#include "ui_text.h"
#include "win/file_io.h"
#include "win/program_paths.h"

namespace velko {
namespace {

// Apache answers within a second or two of its start; a slow machine gets this long.
constexpr std::chrono::seconds kAnswerLimit{15};
// The last lines of the error log are Apache's reason; earlier ones only lead up to it.
constexpr size_t kQuotedLines = 8;

unsigned long long sizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// What the file holds beyond the offset; nothing when it cannot be read. Apache keeps its log open.
std::string bytesFrom(const std::string& path, unsigned long long offset) {
    const FileHandle file(orNull(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, 0, nullptr)));
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!file || !SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return {};
    try {
        return readToEnd(file.get(), path);
    } catch (const Failure&) {
        return {};
    }
}

// The last lines of a text that hold more than blanks, each with LF.
std::string lastLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) lines.push_back(std::move(line));
        start = end + 1;
    }
    std::string quoted;
    for (size_t i = lines.size() > kQuotedLines ? lines.size() - kQuotedLines : 0; i < lines.size(); ++i)
        quoted.append(lines[i]).append("\n");
    return quoted;
}

// Clears the word of what is being done, however the work ends.
class Saying {
public:
    explicit Saying(const ServerProgress& progress) : progress_(progress) {}
    ~Saying() { progress_.say({}); }
    Saying(const Saying&) = delete;
    Saying& operator=(const Saying&) = delete;

private:
    const ServerProgress& progress_;
};

}  // namespace

std::optional<RunningApache> runningApache(const ApacheInstallation& apache) {
    const std::optional<std::string> program = finalPathOf(apache.program);
    if (!program) return std::nullopt;
    if (std::optional<std::string> service = runningServiceOf(*program)) return RunningApache{*program, std::move(service)};
    if (!processesOf(*program).empty()) return RunningApache{*program, std::nullopt};
    return std::nullopt;
}

ApacheRestart::ApacheRestart(ApacheInstallation apache, RunningApache running, ServerProgress progress)
    : apache_(std::move(apache)), running_(std::move(running)), progress_(std::move(progress)) {}

void ApacheRestart::restartAt(const ApacheAddress& address) {
    const Saying saying(progress_);
    stopped_ = true;
    stopAsRunning();
    start();
    if (answersAt(address)) return;
    // What was started is stopped on the way back, once the old files are in place again.
    const std::string port = std::to_string(address.port);
    throw Failure(failure_number::PathFileAccess, text::filled(text::kApacheNotAnswering, {port, wordsSinceStart()}));
}

Failure ApacheRestart::startedAgainAt(const std::optional<ApacheAddress>& address, const Failure& why) {
    const Saying saying(progress_);
    std::string outcome;
    try {
        stopAsRunning();
        start();
        if (!address) outcome = text::kApacheStartedAgain;
        else if (answersAt(*address)) outcome = text::filled(text::kApacheBack, {std::to_string(address->port)});
        else outcome = text::filled(text::kApacheNotBack, {std::to_string(address->port), wordsSinceStart()});
    } catch (const Failure& again) {
        outcome = text::filled(text::kApacheNotStarted, {again.description()});
    }
    return Failure(why.number(), why.description() + outcome);
}

// Whatever of this installation's Apache runs now is stopped as it runs, the service as a service.
void ApacheRestart::stopAsRunning() {
    progress_.say(text::kStoppingApache);
    if (running_.service) {
        if (!serviceEnd(*running_.service).stopped) stopService(*running_.service, progress_);
    } else {
        stopProcesses(processesOf(running_.programFinalPath), progress_);
    }
}

void ApacheRestart::start() {
    progress_.say(text::kStartingApache);
    logSizeAtStart_ = sizeOf(apache_.errorLog);
    if (running_.service) startService(*running_.service);
    else started_ = startDetached({apache_.program, {}, apache_.folder});
}

// Looks until Apache answers, ends or the limit passes.
bool ApacheRestart::answersAt(const ApacheAddress& address) {
    progress_.say(text::filled(text::kWaitingForPort, {std::to_string(address.port)}));
    // Another program that holds the port may answer too: only an answer while Apache runs counts.
    bool answered = false;
    waitUntil(progress_, kAnswerLimit, [&] { return hasEndedSinceStart() || (answered = answersHttp(address, progress_)); });
    return answered && !hasEndedSinceStart();
}

bool ApacheRestart::hasEndedSinceStart() const {
    return running_.service ? serviceEnd(*running_.service).stopped : hasEnded(started_);
}

// The lines Apache wrote to its error log since this start; or, for a service that said nothing
// there, the exit code it stopped with.
std::string ApacheRestart::wordsSinceStart() const {
    const std::string lines = lastLines(bytesFrom(apache_.errorLog, logSizeAtStart_));
    if (!lines.empty()) return lines;
    if (running_.service) {
        const ServiceEnd end = serviceEnd(*running_.service);
        if (end.stopped) return text::filled(text::kServiceExitCode, {*running_.service, std::to_string(end.exitCode)});
    }
    return std::string(text::kErrorLogSilent);
}

}  // namespace velko
