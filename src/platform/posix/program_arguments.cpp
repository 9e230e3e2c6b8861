#include "platform/program_arguments.h"

namespace qv::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

}  // namespace qv::platform
