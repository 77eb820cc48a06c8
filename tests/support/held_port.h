#pragma once
// A TCP port that the test listens on, as another program would hold it.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>
#include <utility>

namespace velko::testing {

class HeldPort {
public:
    // Listens on a port the system picks, at the IPv4 address given.
    explicit HeldPort(const char* address = "127.0.0.1") {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, address, &local.sin_addr);
        int length = sizeof local;
        bind(socket_, reinterpret_cast<sockaddr*>(&local), length);
        listen(socket_, 1);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length);
        port_ = std::to_string(ntohs(local.sin_port));  // "0" when it could not listen
    }
    ~HeldPort() {
        closesocket(socket_);
        WSACleanup();
    }
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;

    const std::string& port() const { return port_; }

private:
    SOCKET socket_;
    std::string port_;
};

// Two ports that nothing held when asked, told apart by being held together.
inline std::pair<std::string, std::string> twoFreePorts() {
    const HeldPort first, second;
    return {first.port(), second.port()};
}

}  // namespace velko::testing
