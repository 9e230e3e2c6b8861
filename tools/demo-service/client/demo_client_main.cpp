// The demo platform client ("QVorvane.exe" inside the demo platform archive). It stands for the
// real client only as far as the installer can see it: it records how it was started (its
// arguments and its working folder) in "launch.txt" beside its executable, appending one record
// per start, and exits 0. Started by the installer after an installation, by the start-up entry
// and by the URL protocol. Built for Linux and for Windows from this one file: its own path and
// its arguments come from the platform layer, as UTF-8 text on both.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "line_text.h"
#include "platform/executable_path.h"
#include "platform/program_arguments.h"

namespace {

constexpr char kLaunchRecordName[] = "launch.txt";

std::string Now() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);  // one thread only
  char text[32] = "?";
  if (local != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  return text;
}

std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string ToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string self = qv::platform::ExecutablePath();
  if (self.empty()) {
    std::fprintf(stderr, "cannot find my own folder\n");
    return 1;
  }
  std::error_code error;
  const std::filesystem::path working_folder = std::filesystem::current_path(error);

  // Arguments may hold line breaks (the game name's Base64 text breaks after 72 characters).
  const std::vector<std::string> arguments = qv::platform::ProgramArguments(argc, argv);
  std::string line;
  for (size_t i = 0; i < arguments.size(); ++i) {
    line += (i > 0 ? " " : "") + qv::demo::LineText(arguments[i]);
  }

  std::ofstream record(FromUtf8(self).parent_path() / kLaunchRecordName, std::ios::app);
  record << "started: " << Now() << "\n"
         << "program: " << self << "\n"
         << "working folder: " << (error ? std::string("?") : ToUtf8(working_folder)) << "\n"
         << "arguments: " << line << "\n";
  for (size_t i = 0; i < arguments.size(); ++i) {
    record << "argument " << i + 1 << ": " << qv::demo::LineText(arguments[i]) << "\n";
  }
  record << "\n";
  record.close();
  if (!record) {
    std::fprintf(stderr, "cannot write %s: %s\n", kLaunchRecordName, std::strerror(errno));
    return 1;
  }
  return 0;
}
