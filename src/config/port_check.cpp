#include "config/port_check.h"

// The socket and IP helper DLLs are loaded only for the check, so that start-up never loads them.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <windows.h>

#include <vector>

#include "config/port_holder.h"
#include "win/handles.h"
#include "win/system_library.h"

namespace velko {
namespace {

std::uint16_t swappedBytes(std::uint16_t value) { return static_cast<std::uint16_t>((value >> 8) | (value << 8)); }

// The DLLs of the check stay loaded once a check has loaded them: Wine's socket layer, loaded a
// second time into a process, refuses every socket it makes (WSAENOTSOCK).
constexpr char kSockets[] = "ws2_32.dll";
constexpr char kIpHelper[] = "iphlpapi.dll";

// Winsock, started for one check and cleaned up after it.
class SocketLayer {
public:
    SocketLayer() {
        WSADATA data;
        started_ = startup_ && socket_ && setOption_ && bind_ && close_ && lastError_ && cleanup_ &&
                   startup_(MAKEWORD(2, 2), &data) == 0;
    }
    ~SocketLayer() {
        if (started_) cleanup_();
    }
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

    bool started() const { return started_; }

    // The error of an exclusive bind of a TCP socket to the port on every address of the family,
    // or 0 when it binds or the system lacks the family.
    int bindError(int family, std::uint16_t port) const {
        const Socket socket{socket_(family, SOCK_STREAM, IPPROTO_TCP), close_};
        if (socket.handle == INVALID_SOCKET) return 0;
        const BOOL on = TRUE;
        setOption_(socket.handle, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
        sockaddr_in6 any6{};
        sockaddr_in any4{};
        const sockaddr* address = reinterpret_cast<const sockaddr*>(&any4);
        int length = sizeof any4;
        if (family == AF_INET6) {
            // Only the IPv6 addresses: the IPv4 ones have their own bind.
            setOption_(socket.handle, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&on), sizeof on);
            any6.sin6_family = AF_INET6;
            any6.sin6_port = swappedBytes(port);
            address = reinterpret_cast<const sockaddr*>(&any6);
            length = sizeof any6;
        } else {
            any4.sin_family = AF_INET;
            any4.sin_port = swappedBytes(port);
        }
        return bind_(socket.handle, address, length) == 0 ? 0 : lastError_();
    }

private:
    struct Socket {
        SOCKET handle;
        decltype(::closesocket)* close;
        ~Socket() {
            if (handle != INVALID_SOCKET) close(handle);
        }
    };

    SystemLibrary& library_ = keptLibrary<kSockets>();
    decltype(::WSAStartup)* startup_ = library_.function<decltype(::WSAStartup)>("WSAStartup");
    decltype(::socket)* socket_ = library_.function<decltype(::socket)>("socket");
    decltype(::setsockopt)* setOption_ = library_.function<decltype(::setsockopt)>("setsockopt");
    decltype(::bind)* bind_ = library_.function<decltype(::bind)>("bind");
    decltype(::closesocket)* close_ = library_.function<decltype(::closesocket)>("closesocket");
    decltype(::WSAGetLastError)* lastError_ = library_.function<decltype(::WSAGetLastError)>("WSAGetLastError");
    decltype(::WSACleanup)* cleanup_ = library_.function<decltype(::WSACleanup)>("WSACleanup");
    bool started_ = false;
};

// The full path of a process's image in the system code page; empty where the system will not
// tell it (a service of another user, say).
std::string imageOf(DWORD processId) {
    const ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    wchar_t path[MAX_PATH * 2];
    DWORD length = ARRAYSIZE(path);
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &length)) return {};
    std::string narrow(static_cast<size_t>(length) * 2 + 1, '\0');
    const int size = WideCharToMultiByte(CP_ACP, 0, path, static_cast<int>(length), narrow.data(),
                                         static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(static_cast<size_t>(size > 0 ? size : 0));
    return narrow;
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
            if (swappedBytes(static_cast<std::uint16_t>(entry.dwLocalPort)) != port) continue;
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
        error = sockets.bindError(AF_INET, port);
        if (error == 0) error = sockets.bindError(AF_INET6, port);
    }
    // Any other refusal says nothing about who holds the port.
    if (error != WSAEADDRINUSE && error != WSAEACCES) return std::nullopt;
    return portHolderName(listenersOn(port), error == WSAEACCES ? BindRefusal::AccessDenied : BindRefusal::InUse);
}

}  // namespace velko
