// The demo platform client ("QVorvane.exe" inside the demo platform archive). It stands for the
// real client only as far as the installer can see it: it records how it was started (its
// arguments and its working folder) in "launch.txt" beside its executable, appending one record
// per start, and exits 0. Started by the installer after an installation, by the start-up entry
// and by the URL protocol.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "line_text.h"

namespace {

constexpr char kLaunchRecordName[] = "launch.txt";

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    std::fprintf(stderr, "cannot find my own folder: %s\n", error.message().c_str());
    return 1;
  }
  const std::filesystem::path working_folder = std::filesystem::current_path(error);

  // Arguments may hold line breaks (the game name's Base64 text breaks after 72 characters).
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + qv::demo::LineText(argv[i]);

  std::ofstream record(self.parent_path() / kLaunchRecordName, std::ios::app);
  record << "started: " << Now() << "\n"
         << "program: " << self.string() << "\n"
         << "working folder: " << (error ? std::string("?") : working_folder.string()) << "\n"
         << "arguments: " << line << "\n";
  for (int i = 1; i < argc; ++i) {
    record << "argument " << i << ": " << qv::demo::LineText(argv[i]) << "\n";
  }
  record << "\n";
  record.close();
  if (!record) {
    std::fprintf(stderr, "cannot write %s: %s\n", kLaunchRecordName, std::strerror(errno));
    return 1;
  }
  return 0;
}
