// The check before a new port is saved, on a free port and on one this program listens on:
//   bench_port_check [runs]
// prints the median of each in milliseconds.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_clock.h"
#include "config/port_check.h"

namespace {

// A listening socket on a port the system picks; its port, or 0.
std::uint16_t listenOnSomePort(SOCKET socket) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    int length = sizeof local;
    if (bind(socket, reinterpret_cast<sockaddr*>(&local), length) != 0 || listen(socket, 1) != 0 ||
        getsockname(socket, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

double medianCheckMs(std::uint16_t port, int runs, bool expectHeld) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        bool held = false;
        times.push_back(velko::bench::timeMs([&] { held = velko::portHolder(port).has_value(); }));
        if (held != expectHeld) {
            std::fprintf(stderr, "port %u: held %d, expected %d\n", port, held, expectHeld);
            std::exit(2);
        }
    }
    return velko::bench::median(times);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 50;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 2;
    const SOCKET holder = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const std::uint16_t held = listenOnSomePort(holder);
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const std::uint16_t free = listenOnSomePort(probe);
    closesocket(probe);
    if (held == 0 || free == 0) return 2;
    std::printf("port check, free port: %.2f ms (median of %d)\n", medianCheckMs(free, runs, false), runs);
    std::printf("port check, held port: %.2f ms (median of %d)\n", medianCheckMs(held, runs, true), runs);
    closesocket(holder);
    WSACleanup();
    return 0;
}
