#include "common/listening_socket.h"

namespace qv::tools {

const char kHttpsHostName[] = "localhost";

void KeepPortExclusive(socket_t sock) {
  // On Windows SO_REUSEADDR would let a second socket take a bound port over; exclusive use is
  // what keeps it the server's.
  const BOOL yes = TRUE;
  setsockopt(sock, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes),
             sizeof(yes));
}

void CloseSocket(socket_t sock) { closesocket(sock); }

}  // namespace qv::tools
