#include "server/child_process.h"

#include <algorithm>
#include <string_view>

#include "win/win_error.h"

namespace velko {
namespace {

constexpr size_t kKeptOutput = 64 * 1024;
constexpr DWORD kTickMs = 50;
// Windows ends a process that is told to end without its consent; this is only a bound.
constexpr DWORD kEndingMs = 5000;

// One word of a command line, as the C runtime takes the line apart again: quoted where it holds
// blanks or quotes, with the backslashes before a quote, and before the closing one, doubled.
std::string quoted(std::string_view word) {
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string_view::npos) return std::string(word);
    std::string line = "\"";
    size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    return line + '"';
}

std::string commandLine(const ProgramCall& call) {
    std::string line = quoted(call.program);
    for (const std::string& argument : call.arguments) line.append(" ").append(quoted(argument));
    return line;
}

struct Started {
    ProcessHandle process;
    ThreadHandle thread;
};

// The program itself, never one found on a search path; with no window, and a console of its own.
Started started(const ProgramCall& call, DWORD flags, STARTUPINFOA& startup, bool inheritHandles) {
    std::string line = commandLine(call);
    PROCESS_INFORMATION created{};
    if (!CreateProcessA(call.program.c_str(), line.data(), nullptr, nullptr, inheritHandles, flags | CREATE_NO_WINDOW,
                        nullptr, call.workingDirectory.c_str(), &startup, &created))
        throw lastErrorFailure(call.program);
    return {ProcessHandle(created.hProcess), ThreadHandle(created.hThread)};
}

// Every process in it ends when the job's last handle closes: nothing the program starts outlives
// the wait for it, even when the configurator itself ends.
JobHandle endingJob(const std::string& program) {
    JobHandle job(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        throw lastErrorFailure(program);
    return job;
}

SECURITY_ATTRIBUTES inheritable() { return {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE}; }

// Standard output and error share one pipe; only the program's end is inherited.
struct OutputPipe {
    FileHandle read;
    FileHandle write;
};
OutputPipe outputPipe(const std::string& program) {
    SECURITY_ATTRIBUTES attributes = inheritable();
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &attributes, 0)) throw lastErrorFailure(program);
    OutputPipe pipe{FileHandle(read), FileHandle(write)};
    if (!SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0)) throw lastErrorFailure(program);
    return pipe;
}

// A program that reads its standard input finds it at its end at once.
FileHandle emptyInput(const std::string& program) {
    SECURITY_ATTRIBUTES attributes = inheritable();
    FileHandle input(orNull(CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                                        OPEN_EXISTING, 0, nullptr)));
    if (!input) throw lastErrorFailure(program);
    return input;
}

// Takes what the pipe holds now, never waiting for more, so that the program never waits long
// for room in it. What goes beyond the bytes kept is read and dropped.
void takeWaiting(HANDLE pipe, std::string& output) {
    char buffer[4096];
    DWORD waiting = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, std::min<DWORD>(waiting, sizeof buffer), &got, nullptr)) return;
        output.append(buffer, std::min<size_t>(got, kKeptOutput - std::min(output.size(), kKeptOutput)));
    }
}

// Puts the suspended program into the job before it runs a single instruction.
void runInJob(const Started& child, const JobHandle& job, const std::string& program) {
    if (!AssignProcessToJobObject(job.get(), child.process.get()) ||
        ResumeThread(child.thread.get()) == static_cast<DWORD>(-1)) {
        const Failure failure = lastErrorFailure(program);
        TerminateProcess(child.process.get(), 1);
        throw failure;
    }
}

}  // namespace

std::optional<ProgramOutcome> runAndCapture(const ProgramCall& call, std::chrono::milliseconds limit,
                                            const std::function<void()>& whileWaiting) {
    const JobHandle job = endingJob(call.program);
    OutputPipe pipe = outputPipe(call.program);
    const FileHandle input = emptyInput(call.program);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = startup.hStdError = pipe.write.get();
    const Started child = started(call, CREATE_SUSPENDED, startup, true);
    pipe.write.reset();  // the program's copy is left alone: the pipe ends with it
    runInJob(child, job, call.program);

    const auto deadline = std::chrono::steady_clock::now() + limit;
    ProgramOutcome outcome;
    while (WaitForSingleObject(child.process.get(), kTickMs) == WAIT_TIMEOUT) {
        takeWaiting(pipe.read.get(), outcome.output);
        whileWaiting();
        if (std::chrono::steady_clock::now() < deadline) continue;
        TerminateJobObject(job.get(), ERROR_TIMEOUT);
        WaitForSingleObject(child.process.get(), kEndingMs);
        return std::nullopt;
    }
    // What the program started and left running ends with it, and with that the pipe.
    TerminateJobObject(job.get(), ERROR_TIMEOUT);
    GetExitCodeProcess(child.process.get(), &outcome.exitCode);
    takeWaiting(pipe.read.get(), outcome.output);
    return outcome;
}

ProcessHandle startDetached(const ProgramCall& call) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return started(call, CREATE_NEW_PROCESS_GROUP, startup, false).process;
}

}  // namespace velko
