#include "server/http_probe.h"

#include "win/socket_layer.h"

namespace velko {
namespace {

// A local Apache accepts and answers within milliseconds; a busy one within this.
constexpr std::chrono::milliseconds kStepLimit{2000};

// The address in a form the socket layer connects to; false for a host that is no IP address.
struct SocketAddress {
    sockaddr_storage storage{};
    int length = 0;
    int family() const { return storage.ss_family; }
};

bool parsed(const SocketLayer& layer, const ApacheAddress& address, SocketAddress& out) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out.storage);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&out.storage);
    if (layer.functions().parseAddress(AF_INET, address.host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = networkOrder(address.port);
        out.length = sizeof *v4;
    } else if (layer.functions().parseAddress(AF_INET6, address.host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = networkOrder(address.port);
        out.length = sizeof *v6;
    }
    return out.length != 0;
}

enum class Readiness { Connected, Readable };

// Waits for the socket to be connected or to have bytes to read; false when it failed or the limit passed.
bool becomes(Readiness wanted, const SocketLayer& layer, SOCKET socket, const ServerProgress& progress) {
    bool ready = false, failed = false;
    const bool settled = waitUntil(progress, kStepLimit, [&] {
        fd_set waiting{1, {socket}}, failures{1, {socket}};
        timeval now{0, 0};
        fd_set* reads = wanted == Readiness::Readable ? &waiting : nullptr;
        fd_set* writes = wanted == Readiness::Connected ? &waiting : nullptr;
        if (layer.functions().select(0, reads, writes, &failures, &now) == SOCKET_ERROR) return failed = true;
        failed = failures.fd_count != 0;
        ready = waiting.fd_count != 0;
        return failed || ready;
    });
    return settled && ready && !failed;
}

}  // namespace

bool answersHttp(const ApacheAddress& address, const ServerProgress& progress) {
    const SocketLayer layer;
    SocketAddress target;
    if (!layer.started() || !parsed(layer, address, target)) return false;
    const SocketFunctions& f = layer.functions();
    const OwnedSocket socket(layer, target.family(), SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    if (!socket || f.control(socket.get(), FIONBIO, &nonBlocking) != 0) return false;
    f.connect(socket.get(), reinterpret_cast<const sockaddr*>(&target.storage), target.length);
    if (!becomes(Readiness::Connected, layer, socket.get(), progress)) return false;

    const std::string request = "HEAD / HTTP/1.0\r\n\r\n";
    if (f.send(socket.get(), request.data(), static_cast<int>(request.size()), 0) != static_cast<int>(request.size()))
        return false;
    if (!becomes(Readiness::Readable, layer, socket.get(), progress)) return false;
    constexpr std::string_view kHttp = "HTTP/";
    char answer[kHttp.size()];
    const int received = f.receive(socket.get(), answer, static_cast<int>(sizeof answer), 0);
    return received == static_cast<int>(kHttp.size()) && std::string_view(answer, sizeof answer) == kHttp;
}

}  // namespace velko
