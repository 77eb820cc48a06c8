#include "server/apache_service.h"

#include <vector>

#include "ui_text.h"
#include "win/failure.h"
#include "win/handles.h"
#include "win/program_paths.h"
#include "win/system_library.h"
#include "win/win_error.h"

namespace velko {
namespace {

constexpr char kAdvapi[] = "advapi32.dll";
// Apache stops within seconds; a service that takes longer than this has hung.
constexpr std::chrono::milliseconds kStopLimit{30000};

template <class Function>
Function* serviceFunction(const char* name) {
    return keptLibrary<kAdvapi>().function<Function>(name);
}

struct CloseServiceHandle {
    void operator()(SC_HANDLE handle) const {
        if (auto close = serviceFunction<decltype(::CloseServiceHandle)>("CloseServiceHandle")) close(handle);
    }
};
using ServiceHandle = UniqueHandle<SC_HANDLE, nullptr, CloseServiceHandle>;

// The manager's refusal of what was asked of the service, in the system's words.
Failure refusal(const std::string& name) {
    const std::string reason = systemMessage(GetLastError());
    return Failure(failure_number::PathFileAccess, text::filled(text::kServiceRefused, {name, reason}));
}

ServiceHandle manager(DWORD access) {
    const auto open = serviceFunction<decltype(::OpenSCManagerA)>("OpenSCManagerA");
    return ServiceHandle(open ? open(nullptr, nullptr, access) : nullptr);
}

// The service opened for the access, or the failure that names it.
ServiceHandle service(const std::string& name, DWORD access) {
    const auto open = serviceFunction<decltype(::OpenServiceA)>("OpenServiceA");
    const ServiceHandle services = manager(SC_MANAGER_CONNECT);
    ServiceHandle opened(services && open ? open(services.get(), name.c_str(), access) : nullptr);
    if (!opened) throw refusal(name);
    return opened;
}

// The program of a command line: the quoted first word, or the text up to ".exe", or the first word.
std::string programOf(const std::string& commandLine) {
    if (commandLine.starts_with('"')) return commandLine.substr(1, commandLine.find('"', 1) - 1);
    std::string lower = commandLine;
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    const size_t exe = lower.find(".exe");
    return commandLine.substr(0, exe != std::string::npos ? exe + 4 : commandLine.find(' '));
}

std::optional<std::string> programOfService(SC_HANDLE services, const char* name) {
    const auto open = serviceFunction<decltype(::OpenServiceA)>("OpenServiceA");
    const auto query = serviceFunction<decltype(::QueryServiceConfigA)>("QueryServiceConfigA");
    const ServiceHandle opened(open && query ? open(services, name, SERVICE_QUERY_CONFIG) : nullptr);
    DWORD needed = 0;
    if (!opened) return std::nullopt;
    query(opened.get(), nullptr, 0, &needed);
    std::vector<ULONGLONG> buffer(needed / sizeof(ULONGLONG) + 1);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (!query(opened.get(), config, static_cast<DWORD>(buffer.size() * sizeof(ULONGLONG)), &needed)) return std::nullopt;
    return programOf(config->lpBinaryPathName ? config->lpBinaryPathName : "");
}

SERVICE_STATUS_PROCESS statusOf(const std::string& name) {
    const auto query = serviceFunction<decltype(::QueryServiceStatusEx)>("QueryServiceStatusEx");
    const ServiceHandle opened = service(name, SERVICE_QUERY_STATUS);
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!query || !query(opened.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status, &needed))
        throw refusal(name);
    return status;
}

}  // namespace

std::optional<std::string> runningServiceOf(const std::string& programFinalPath) {
    const auto enumerate = serviceFunction<decltype(::EnumServicesStatusExA)>("EnumServicesStatusExA");
    const ServiceHandle services = manager(SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
    if (!services || !enumerate) return std::nullopt;
    DWORD needed = 0, count = 0, resume = 0;
    enumerate(services.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_ACTIVE, nullptr, 0, &needed, &count, &resume, nullptr);
    std::vector<ULONGLONG> buffer(needed / sizeof(ULONGLONG) + 1);
    resume = 0;
    if (!enumerate(services.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_ACTIVE, reinterpret_cast<BYTE*>(buffer.data()),
                   static_cast<DWORD>(buffer.size() * sizeof(ULONGLONG)), &needed, &count, &resume, nullptr))
        return std::nullopt;
    const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSA*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        const std::optional<std::string> program = programOfService(services.get(), entries[i].lpServiceName);
        if (program && isSameFile(*program, programFinalPath)) return entries[i].lpServiceName;
    }
    return std::nullopt;
}

void stopService(const std::string& name, const ServerProgress& progress) {
    const auto control = serviceFunction<decltype(::ControlService)>("ControlService");
    const ServiceHandle opened = service(name, SERVICE_STOP | SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    if (!control || (!control(opened.get(), SERVICE_CONTROL_STOP, &status) && GetLastError() != ERROR_SERVICE_NOT_ACTIVE))
        throw refusal(name);
    if (!waitUntil(progress, kStopLimit, [&] { return serviceEnd(name).stopped; }))
        throw Failure(failure_number::PathFileAccess, text::filled(text::kServiceStays, {name}));
}

void startService(const std::string& name) {
    const auto start = serviceFunction<decltype(::StartServiceA)>("StartServiceA");
    const ServiceHandle opened = service(name, SERVICE_START);
    if (!start || !start(opened.get(), 0, nullptr))
        throw refusal(name);
}

ServiceEnd serviceEnd(const std::string& name) {
    const SERVICE_STATUS_PROCESS status = statusOf(name);
    const bool ownCode = status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR;
    return {status.dwCurrentState == SERVICE_STOPPED, ownCode ? status.dwServiceSpecificExitCode : status.dwWin32ExitCode};
}

}  // namespace velko
