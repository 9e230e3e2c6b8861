// uninstall.exe of the demo platform: removes the installation it lives in (uninstall_steps.h)
// and lists what it removed. Takes no arguments.
#include <cstdio>
#include <string>

#include "platform/executable_path.h"
#include "uninstall_steps.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"

int main() {
  const std::u16string folder =
      qv::util::GetParentFolder(qv::util::Utf8ToWide(qv::platform::ExecutablePath()));
  if (folder.empty()) {
    std::fprintf(stderr, "uninstall: cannot tell which folder I was installed in\n");
    return 1;
  }
  const std::u16string install_folder = qv::util::AsFolderPath(folder);
  const auto removed = qv::demo::UninstallPlatform(install_folder);
  std::printf("QVorvane removed%s\n", removed.empty() ? ": nothing was installed" : ":");
  for (const std::string& line : removed) std::printf("  %s\n", line.c_str());
  return 0;
}
