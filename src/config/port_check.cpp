#include "config/port_check.h"

// The socket and IP helper DLLs are loaded only for the check, so that start-up never loads them.
#include "win/socket_layer.h"

#include <iphlpapi.h>

#include <vector>

#include "config/port_holder.h"
#include "win/program_paths.h"

namespace velko {
namespace {

constexpr char kIpHelper[] = "iphlpapi.dll";

// The error of an exclusive bind of a TCP socket to the port on every address of the family, or 0
// when it binds or the system lacks the family.
int bindError(const SocketLayer& layer, int family, std::uint16_t port) {
    const SocketFunctions& f = layer.functions();
    const OwnedSocket socket(layer, family, SOCK_STREAM, IPPROTO_TCP);
    if (!socket) return 0;
    const BOOL on = TRUE;
    f.setOption(socket.get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in6 any6{};
    sockaddr_in any4{};
    const sockaddr* address = reinterpret_cast<const sockaddr*>(&any4);
    int length = sizeof any4;
    if (family == AF_INET6) {
        // Only the IPv6 addresses: the IPv4 ones have their own bind.
        f.setOption(socket.get(), IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&on), sizeof on);
        any6.sin6_family = AF_INET6;
        any6.sin6_port = networkOrder(port);
        address = reinterpret_cast<const sockaddr*>(&any6);
        length = sizeof any6;
    } else {
        any4.sin_family = AF_INET;
        any4.sin_port = networkOrder(port);
    }
    return f.bind(socket.get(), address, length) == 0 ? 0 : f.lastError();
}

using GetTable = decltype(::GetExtendedTcpTable);

// The listeners of one address family on the port. The table can grow between asking its size
// and reading it, so that is tried a few times.
template <class Table>
void addListeners(GetTable* getTable, ULONG family, std::uint16_t port, std::vector<Listener>& listeners) {
    DWORD bytes = 0;
    std::vector<ULONGLONG> buffer;
    for (int attempt = 0; attempt < 3; ++attempt) {
        buffer.resize(bytes / sizeof(ULONGLONG) + 1);
        bytes = static_cast<DWORD>(buffer.size() * sizeof(ULONGLONG));
        const DWORD result = getTable(buffer.data(), &bytes, FALSE, family, TCP_TABLE_OWNER_PID_LISTENER, 0);
        if (result == ERROR_INSUFFICIENT_BUFFER) continue;
        if (result != NO_ERROR) return;
        const auto& table = *reinterpret_cast<const Table*>(buffer.data());
        for (DWORD row = 0; row < table.dwNumEntries; ++row) {
            const auto& entry = table.table[row];
            if (networkOrder(static_cast<std::uint16_t>(entry.dwLocalPort)) != port) continue;
            const bool ordinary = entry.dwOwningPid != 0 && entry.dwOwningPid != kSystemProcessId;
            listeners.push_back({entry.dwOwningPid, ordinary ? imageOf(entry.dwOwningPid) : std::string()});
        }
        return;
    }
}

std::vector<Listener> listenersOn(std::uint16_t port) {
    std::vector<Listener> listeners;
    if (GetTable* getTable = keptLibrary<kIpHelper>().function<GetTable>("GetExtendedTcpTable")) {
        addListeners<MIB_TCPTABLE_OWNER_PID>(getTable, AF_INET, port, listeners);
        addListeners<MIB_TCP6TABLE_OWNER_PID>(getTable, AF_INET6, port, listeners);
    }
    return listeners;
}

}  // namespace

std::optional<std::string> portHolder(std::uint16_t port) {
    int error = 0;
    {
        const SocketLayer sockets;
        if (!sockets.started()) return std::nullopt;
        error = bindError(sockets, AF_INET, port);
        if (error == 0) error = bindError(sockets, AF_INET6, port);
    }
    // Any other refusal says nothing about who holds the port.
    if (error != WSAEADDRINUSE && error != WSAEACCES) return std::nullopt;
    return portHolderName(listenersOn(port), error == WSAEACCES ? BindRefusal::AccessDenied : BindRefusal::InUse);
}

}  // namespace velko
