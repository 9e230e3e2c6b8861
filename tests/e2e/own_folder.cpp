#include "own_folder.h"

#include <sched.h>
#include <string.h>
#include <sys/mount.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace qv::test {

bool EnterOwnViewOfFolder(const std::string& folder, const std::string& private_folder,
                          std::string& why_not) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::filesystem::create_directories(private_folder, error);
  if (unshare(CLONE_NEWNS) != 0) {
    why_not = std::string("no mount namespace of its own (needs root): ") + strerror(errno);
    return false;
  }
  // Nothing mounted from here on may reach the machine's own namespace.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount(private_folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    why_not = "cannot cover " + folder + ": " + strerror(errno);
    return false;
  }
  return true;
}

}  // namespace qv::test
