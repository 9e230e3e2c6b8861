// What of the loopback server differs between systems: the socket option that keeps a taken port
// taken (a second server asking for it fails instead of sharing it), the host name its HTTPS
// URLs use, and how a socket is closed.
#pragma once

#include <httplib.h>

namespace qv::tools {

// Applied to the listening socket before it is bound.
void KeepPortExclusive(socket_t sock);

// "127.0.0.1" on Linux; "localhost" on Windows, whose TLS matches a certificate by DNS name only
// (the loopback certificates name both).
extern const char kHttpsHostName[];

// Closes a socket the caller made itself (close on Linux, closesocket on Windows).
void CloseSocket(socket_t sock);

}  // namespace qv::tools
