#pragma once
// Winsock, loaded the first time a socket is needed: start-up never loads it.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdint>

#include "win/system_library.h"

namespace velko {

// A port as the network writes it, most significant byte first (htons, without importing it).
inline std::uint16_t networkOrder(std::uint16_t port) { return static_cast<std::uint16_t>((port >> 8) | (port << 8)); }

// The functions of ws2_32.dll that the configurator calls. The library stays loaded once loaded:
// Wine's socket layer, loaded a second time into a process, refuses every socket it makes
// (WSAENOTSOCK).
struct SocketFunctions {
    decltype(::WSAStartup)* startup;
    decltype(::WSACleanup)* cleanup;
    decltype(::WSAGetLastError)* lastError;
    decltype(::socket)* socket;
    decltype(::closesocket)* close;
    decltype(::setsockopt)* setOption;
    decltype(::ioctlsocket)* control;
    decltype(::bind)* bind;
    decltype(::connect)* connect;
    decltype(::select)* select;
    decltype(::send)* send;
    decltype(::recv)* receive;
    decltype(::inet_pton)* parseAddress;
};

// Winsock, started for one task and cleaned up after it.
class SocketLayer {
public:
    SocketLayer();
    ~SocketLayer();
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

    // False when the library, one of its functions or its start is missing.
    bool started() const { return started_; }
    const SocketFunctions& functions() const { return functions_; }

private:
    const SocketFunctions& functions_;
    bool started_ = false;
};

// A socket of the layer, closed when it goes.
class OwnedSocket {
public:
    OwnedSocket(const SocketLayer& layer, int family, int type, int protocol)
        : layer_(layer), handle_(layer.functions().socket(family, type, protocol)) {}
    ~OwnedSocket() {
        if (handle_ != INVALID_SOCKET) layer_.functions().close(handle_);
    }
    OwnedSocket(const OwnedSocket&) = delete;
    OwnedSocket& operator=(const OwnedSocket&) = delete;

    SOCKET get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_SOCKET; }

private:
    const SocketLayer& layer_;
    SOCKET handle_;
};

}  // namespace velko
