// "httpd.exe" alone or "httpd.exe -k runservice": the server. It listens on all addresses on every
// port its configuration's Listen directives name, answers each request with an empty "200 OK", writes
// logs\httpd.pid and Apache's lines to logs\error.log, and stops on the graceful-stop event
// "ap<pid>_shutdown" or the service's stop control. A port it cannot bind ends it as Apache ends;
// a file logs\stand-in-holds-start holds its start until it is stopped.
#include <winsock2.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "config/apache_edit.h"
#include "config/config_files_on_disk.h"
#include "stand_in.h"

namespace velko::stand_in {
namespace {

const std::filesystem::path kServerRoot = [] {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    return std::filesystem::path(program).parent_path().parent_path();
}();
HANDLE stopEvent = nullptr;
SERVICE_STATUS_HANDLE serviceStatus = nullptr;

void log(const std::string& line) {
    std::ofstream(kServerRoot / "logs" / "error.log", std::ios::app | std::ios::binary)
        << "[stand-in] [pid " << GetCurrentProcessId() << "] " << line << "\r\n";
}

void reportService(DWORD state, DWORD exitCode) {
    if (!serviceStatus) return;
    SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, state, state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0u,
                          exitCode ? DWORD(ERROR_SERVICE_SPECIFIC_ERROR) : 0u, exitCode, 0, 0};
    SetServiceStatus(serviceStatus, &status);
}

// The sockets of the configuration's Listen directives, or nothing once one port is taken.
std::vector<SOCKET> listeners() {
    const std::string file = (kServerRoot / "conf" / "httpd.conf").string();
    std::vector<SOCKET> sockets;
    bool taken = false;
    const ConfigFilesOnDisk disk;
    forEachDirective(disk, file, disk.read(file, kMaxConfigBytes).value_or(""), [&](const std::string&, const ConfigLine& line) {
        if (!isDirective(line.text, "Listen")) return true;
        sockaddr_in address{AF_INET, htons(static_cast<u_short>(std::stoi(shownPortOf(line.text)))), {}, {}};  // 0.0.0.0
        const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        taken = bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 8) != 0;
        if (taken) log("(OS 10048)Only one usage of each socket address is normally permitted.  : AH00072: make_sock: could not bind to address 0.0.0.0:" + shownPortOf(line.text));
        sockets.push_back(listener);
        return !taken;
    });
    return taken ? std::vector<SOCKET>() : sockets;
}

void answerOne(SOCKET listener) {
    const SOCKET client = accept(listener, nullptr, nullptr);
    char request[1024];
    recv(client, request, sizeof request, 0);
    const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    send(client, answer, sizeof answer - 1, 0);
    closesocket(client);
}

int serve() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::filesystem::create_directories(kServerRoot / "logs");
    // Tests that end the configurator while it waits for Apache hold the start until the stop.
    if (std::filesystem::exists(kServerRoot / "logs" / "stand-in-holds-start")) {
        WaitForSingleObject(stopEvent, 60000);
        return 0;
    }
    const std::vector<SOCKET> sockets = listeners();
    if (sockets.empty()) {
        log("AH00451: no listening sockets available, shutting down");
        return 1;
    }
    std::ofstream(kServerRoot / "logs" / "httpd.pid", std::ios::binary) << GetCurrentProcessId() << "\r\n";
    log("AH00455: Apache/2.4 (Win64) (stand-in) configured -- resuming normal operations");
    reportService(SERVICE_RUNNING, 0);
    while (WaitForSingleObject(stopEvent, 0) != WAIT_OBJECT_0) {
        fd_set ready{};
        for (const SOCKET listener : sockets) FD_SET(listener, &ready);
        timeval tick{0, 50000};
        if (select(0, &ready, nullptr, nullptr, &tick) > 0)
            for (const SOCKET listener : sockets)
                if (FD_ISSET(listener, &ready)) answerOne(listener);
    }
    std::filesystem::remove(kServerRoot / "logs" / "httpd.pid");
    log("AH00364: Child: All worker threads have exited.");
    return 0;
}

DWORD WINAPI onControl(DWORD control, DWORD, void*, void*) {
    if (control == SERVICE_CONTROL_STOP) SetEvent(stopEvent);
    return NO_ERROR;
}

void WINAPI serviceMain(DWORD, char**) {
    serviceStatus = RegisterServiceCtrlHandlerExA("", onControl, nullptr);
    reportService(SERVICE_STOPPED, static_cast<DWORD>(serve()));
}

}  // namespace

int runServer(const Arguments& arguments) {
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, ("ap" + std::to_string(GetCurrentProcessId()) + "_shutdown").c_str());
    if (valueAfter(arguments, "-k") != "runservice") return serve();
    SERVICE_TABLE_ENTRYA services[] = {{const_cast<char*>(""), serviceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(services) ? 0 : 1;
}

}  // namespace velko::stand_in
