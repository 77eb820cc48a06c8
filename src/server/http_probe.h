#pragma once
// Whether Apache answers at an address: a connection accepted, and an answer that is HTTP.
#include <cstdint>
#include <string>

#include "server/server_progress.h"

namespace velko {

// An address Apache listens on, as a client reaches it: an IPv4 or IPv6 address and a port.
struct ApacheAddress {
    std::string host;
    std::uint16_t port = 0;
};

// Connects, asks for the headers of "/" and reads the first bytes of the answer, each step within a
// short limit and with the window's events handled meanwhile. False for no connection, no answer
// or an answer that is not HTTP.
bool answersHttp(const ApacheAddress& address, const ServerProgress& progress);

}  // namespace velko
