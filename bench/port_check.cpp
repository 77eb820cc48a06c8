// The check before a new port is saved, on a free port and on one this program listens on:
//   bench_port_check [runs]
// prints the time of the first check, which loads the socket layer as the configurator's first
// does, and the median of each in milliseconds.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_clock.h"
#include "config/port_check.h"

namespace {

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

std::uint16_t someFreePort() {
    for (std::uint16_t port = 49152 + GetCurrentProcessId() % 10000; port != 0; ++port)
        if (!velko::portHolder(port)) return port;
    return 0;
}

// Listens on a port the system picks, for as long as the program runs; its port, or 0.
std::uint16_t holdSomePort() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    int length = sizeof local;
    if (bind(socket, reinterpret_cast<sockaddr*>(&local), length) != 0 || listen(socket, 1) != 0 ||
        getsockname(socket, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return static_cast<std::uint16_t>((local.sin_port >> 8) | (local.sin_port << 8));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 50;
    const double first = velko::bench::timeMs([] { velko::portHolder(49152 + GetCurrentProcessId() % 10000); });
    std::printf("port check, first in the process: %.2f ms\n", first);
    const std::uint16_t free = someFreePort();
    if (free == 0) return 2;
    std::printf("port check, free port: %.2f ms (median of %d)\n", medianCheckMs(free, runs, false), runs);
    const std::uint16_t held = holdSomePort();
    if (held == 0) return 2;
    std::printf("port check, held port: %.2f ms (median of %d)\n", medianCheckMs(held, runs, true), runs);
    return 0;
}
