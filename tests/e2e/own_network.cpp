#include "own_network.h"

#include <net/if.h>
#include <sched.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace qv::test {

bool EnterOwnLoopbackNetwork(std::string& why_not) {
  if (unshare(CLONE_NEWNET) != 0) {
    why_not = std::string("no network namespace of its own (needs root): ") + strerror(errno);
    return false;
  }
  const int control = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (control < 0) {
    why_not = std::string("no socket to configure the loopback: ") + strerror(errno);
    return false;
  }
  ifreq request{};
  strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  bool up = ioctl(control, SIOCGIFFLAGS, &request) == 0;
  if (up) {
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    up = ioctl(control, SIOCSIFFLAGS, &request) == 0;
  }
  if (!up) why_not = std::string("the loopback interface does not come up: ") + strerror(errno);
  close(control);
  return up;
}

}  // namespace qv::test
