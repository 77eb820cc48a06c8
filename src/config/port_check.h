#pragma once
// Whether a TCP port is free for Apache, checked before a save writes it.
#include <cstdint>
#include <optional>
#include <string>

namespace velko {

// The holder of the port, named for the user, when a TCP socket cannot bind it exclusively on
// every IPv4 (and IPv6) address. Nothing when it binds, or when the socket layer cannot be
// started: the check never stands in the way of a save.
std::optional<std::string> portHolder(std::uint16_t port);

}  // namespace velko
