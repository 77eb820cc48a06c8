#include "win/socket_layer.h"

namespace velko {
namespace {

constexpr char kSockets[] = "ws2_32.dll";

template <class Function>
Function* socketFunction(const char* name) {
    return keptLibrary<kSockets>().function<Function>(name);
}

const SocketFunctions& loadedFunctions() {
    static const SocketFunctions functions{
        socketFunction<decltype(::WSAStartup)>("WSAStartup"),
        socketFunction<decltype(::WSACleanup)>("WSACleanup"),
        socketFunction<decltype(::WSAGetLastError)>("WSAGetLastError"),
        socketFunction<decltype(::socket)>("socket"),
        socketFunction<decltype(::closesocket)>("closesocket"),
        socketFunction<decltype(::setsockopt)>("setsockopt"),
        socketFunction<decltype(::ioctlsocket)>("ioctlsocket"),
        socketFunction<decltype(::bind)>("bind"),
        socketFunction<decltype(::connect)>("connect"),
        socketFunction<decltype(::select)>("select"),
        socketFunction<decltype(::send)>("send"),
        socketFunction<decltype(::recv)>("recv"),
        socketFunction<decltype(::inet_pton)>("inet_pton"),
    };
    return functions;
}

bool complete(const SocketFunctions& f) {
    return f.startup && f.cleanup && f.lastError && f.socket && f.close && f.setOption && f.control && f.bind &&
           f.connect && f.select && f.send && f.receive && f.parseAddress;
}

}  // namespace

SocketLayer::SocketLayer() : functions_(loadedFunctions()) {
    WSADATA data;
    started_ = complete(functions_) && functions_.startup(MAKEWORD(2, 2), &data) == 0;
}

SocketLayer::~SocketLayer() {
    if (started_) functions_.cleanup();
}

}  // namespace velko
