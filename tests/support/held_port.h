#pragma once
// A TCP port that the test listens on, as another program would hold it.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <stdexcept>
#include <string>

namespace velko::testing {

class HeldPort {
public:
    // Listens on a port the system picks, at the IPv4 address given.
    explicit HeldPort(const char* address = "127.0.0.1") {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("no sockets");
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, address, &local.sin_addr);
        int length = sizeof local;
        if (bind(socket_, reinterpret_cast<sockaddr*>(&local), length) != 0 || listen(socket_, 1) != 0 ||
            getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length) != 0)
            throw std::runtime_error("cannot listen at " + std::string(address));
        port_ = std::to_string(ntohs(local.sin_port));
    }
    ~HeldPort() {
        closesocket(socket_);
        WSACleanup();
    }
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;

    const std::string& port() const { return port_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    std::string port_;
};

// A port that was free a moment ago: one the system picked, listened on and let go.
inline std::string freedPort() { return HeldPort().port(); }

}  // namespace velko::testing
