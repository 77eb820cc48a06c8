#pragma once
// Who holds a TCP port, named from what the system tells: its table of listening sockets and the
// way a bind to the port was refused.
#include <cstdint>
#include <string>
#include <vector>

namespace velko {

// A row of the system's table of TCP listeners on the port; the image is the process's full path,
// empty where the system would not tell it.
struct Listener {
    std::uint32_t processId;
    std::string image;
};

enum class BindRefusal { InUse, AccessDenied };

// The process that Windows shows for its own HTTP service (http.sys).
inline constexpr std::uint32_t kSystemProcessId = 4;

// The holder of a port, from its listeners, for the question before a save: the HTTP service of
// Windows for the system process, an ordinary listener by its image's base name and its process
// number, a port that Windows reserves where the bind was denied and nobody listens, and
// otherwise another program.
std::string portHolderName(const std::vector<Listener>& listeners, BindRefusal refusal);

}  // namespace velko
