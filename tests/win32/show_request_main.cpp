// A second start's hand-over as its own process: sends the show request for the instance name
// given as the argument; exit code 0 when a running instance took it, 1 when none was found.
#include <cstring>

#include "platform/single_instance.h"

int main(int argc, char** argv) {
  if (argc < 2 || std::strlen(argv[1]) == 0) return 2;
  return qv::platform::SendShowRequest(argv[1]) ? 0 : 1;
}
