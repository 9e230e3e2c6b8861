// qv-demo-content: builds the demo service's archives at build time.
// Usage: qv-demo-content --out FOLDER --sources FOLDER --client PROGRAM --uninstaller PROGRAM
#include <cstdio>
#include <exception>
#include <map>
#include <string>

#include "demo_packages.h"

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  for (const char* required : {"--out", "--sources", "--client", "--uninstaller"}) {
    if (argc % 2 == 0 || options[required].empty()) {
      std::fprintf(
          stderr,
          "usage: %s --out FOLDER --sources FOLDER --client PROGRAM --uninstaller PROGRAM\n",
          argv[0]);
      return 64;
    }
  }
  try {
    qv::demo::BuildDemoContent(
        {options["--sources"], options["--client"], options["--uninstaller"]}, options["--out"]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qv-demo-content: %s\n", error.what());
    return 1;
  }
  return 0;
}
