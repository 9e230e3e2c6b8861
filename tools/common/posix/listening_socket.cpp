#include "common/listening_socket.h"

#include <sys/socket.h>
#include <unistd.h>

namespace qv::tools {

const char kHttpsHostName[] = "127.0.0.1";

void KeepPortExclusive(socket_t sock) {
  // Only SO_REUSEADDR (a port in TIME_WAIT is reused at once): the library's default adds
  // SO_REUSEPORT, with which a second server on a taken port binds as well and the kernel shares
  // the connections out between the two.
  const int yes = 1;
  setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
}

void CloseSocket(socket_t sock) { close(sock); }

}  // namespace qv::tools
