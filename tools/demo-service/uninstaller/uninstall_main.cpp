// uninstall.exe of the demo platform: removes the installation it lives in (uninstall_steps.h)
// and lists what it removed. Takes no arguments.
#include <cstdio>
#include <string>

#include "platform/executable_path.h"
#include "uninstall_steps.h"
#include "util/text_conversion.h"

int main() {
  const std::string self = qv::platform::ExecutablePath();
  const size_t slash = self.rfind('/');
  if (slash == std::string::npos || slash == 0) {
    std::fprintf(stderr, "uninstall: cannot tell which folder I was installed in\n");
    return 1;
  }
  const std::u16string install_folder = qv::util::Utf8ToWide(self.substr(0, slash + 1));
  const auto removed = qv::demo::UninstallPlatform(install_folder);
  std::printf("QVorvane removed%s\n", removed.empty() ? ": nothing was installed" : ":");
  for (const std::string& line : removed) std::printf("  %s\n", line.c_str());
  return 0;
}
