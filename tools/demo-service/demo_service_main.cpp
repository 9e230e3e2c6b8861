// qv-demo-service: plays every peer of the installer on 127.0.0.1 for one scenario, until
// SIGINT or SIGTERM.
//
//   qv-demo-service --scenario FILE --content FOLDER --stats-log FILE --pki FOLDER
//                   [--https-port N] [--http-port N] [--probe-port N] [--ready-file FILE]
//                   [--pace BYTES_PER_SECOND] [--content-host NAME] [--quiet]
//
// Ports default to 0 (any free port). --pace throttles every download to that rate when the
// scenario sets no rate of its own, so that a person watching sees the download happen.
// --content-host names the host of the answer's content URLs (default 127.0.0.1; "localhost" for
// the Windows installer, whose TLS matches the certificate by name only). Once every port listens, the ready file (written whole,
// by a rename) holds "https_port=", "http_port=", "probe_port=" (0 when closed) and "ca=" lines;
// then the same facts go to standard output, followed by one line per request unless --quiet.
#include <signal.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "demo_service.h"

namespace {

constexpr int kUsageError = 64;

void Usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s --scenario FILE --content FOLDER --stats-log FILE --pki FOLDER\n"
               "          [--https-port N] [--http-port N] [--probe-port N] [--ready-file FILE]"
               " [--pace BYTES_PER_SECOND] [--content-host NAME] [--quiet]\n",
               program);
}

int PortOption(const std::map<std::string, std::string>& options, const std::string& name) {
  const auto it = options.find(name);
  if (it == options.end()) return 0;
  const std::string& text = it->second;
  if (text.empty() || text.size() > 5 ||
      text.find_first_not_of("0123456789") != std::string::npos || std::stoi(text) > 65535) {
    throw std::invalid_argument(name + " takes a port number (0 to 65535), not \"" + text + "\"");
  }
  return std::stoi(text);
}

// A host name of letters, digits, dots and hyphens (it goes into URLs unescaped).
std::string HostOption(const std::string& name, const std::string& text) {
  if (text.empty() || text.size() > 253 ||
      text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") !=
          std::string::npos) {
    throw std::invalid_argument(name + " takes a host name, not \"" + text + "\"");
  }
  return text;
}

// A positive byte rate of at most nine digits.
uint64_t RateOption(const std::string& name, const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos ||
      std::stoull(text) == 0) {
    throw std::invalid_argument(name + " takes bytes per second (1 to 999999999), not \"" + text +
                                "\"");
  }
  return std::stoull(text);
}

void WriteReadyFile(const std::string& path, const qv::demo::DemoService& service) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::trunc);
    out << "https_port=" << service.ports().https << "\n"
        << "http_port=" << service.ports().http << "\n"
        << "probe_port=" << service.ports().probe << "\n"
        << "ca=" << service.ca_certificate() << "\n";
    if (!out.flush()) throw std::runtime_error("cannot write " + partial);
  }
  std::filesystem::rename(partial, path);
}

}  // namespace

int main(int argc, char** argv) {
  static const std::set<std::string> kValued = {"--scenario",   "--content",    "--stats-log",
                                                "--pki",        "--https-port", "--http-port",
                                                "--probe-port", "--ready-file", "--pace",
                                                "--content-host"};
  std::map<std::string, std::string> options;
  bool quiet = false;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--quiet") {
      quiet = true;
    } else if (kValued.count(name) != 0 && i + 1 < argc) {
      options[name] = argv[++i];
    } else {
      Usage(argv[0]);
      return kUsageError;
    }
  }
  for (const char* required : {"--scenario", "--content", "--stats-log", "--pki"}) {
    if (options.count(required) == 0) {
      Usage(argv[0]);
      return kUsageError;
    }
  }

  // The stop signals are taken synchronously by this thread, never in a handler; every thread
  // the servers start inherits the blocked mask.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  try {
    qv::demo::DemoServiceSettings settings;
    settings.scenario = qv::demo::LoadScenario(options["--scenario"]);
    if (options.count("--pace") != 0) {
      const uint64_t pace = RateOption("--pace", options["--pace"]);
      uint64_t& rate = settings.scenario.faults.throttle_bytes_per_second;
      if (rate == 0) rate = pace;
    }
    if (options.count("--content-host") != 0) {
      settings.content_host = HostOption("--content-host", options["--content-host"]);
    }
    settings.content_folder = options["--content"];
    settings.statistics_log = options["--stats-log"];
    settings.pki_folder = options["--pki"];
    settings.ports = {PortOption(options, "--https-port"), PortOption(options, "--http-port"),
                      PortOption(options, "--probe-port")};
    std::filesystem::create_directories(settings.pki_folder);
    if (!quiet) {
      settings.log = [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
      };
    }
    const std::string scenario_name = settings.scenario.name;
    const std::string description = settings.scenario.description;
    qv::demo::DemoService service(std::move(settings));

    if (options.count("--ready-file") != 0) WriteReadyFile(options["--ready-file"], service);
    const qv::demo::DemoServicePorts ports = service.ports();
    std::printf("demo service: scenario %s%s%s\n", scenario_name.c_str(),
                description.empty() ? "" : ": ", description.c_str());
    std::printf("  web API and content  %s\n", service.content_base_url().c_str());
    std::printf("  statistics, pages    http://127.0.0.1:%d\n", ports.http);
    if (ports.probe != 0) {
      std::printf("  probe target         https://127.0.0.1:%d/\n", ports.probe);
    } else {
      std::printf("  probe target         closed (no Internet)\n");
    }
    std::printf("  CA certificate       %s\n", service.ca_certificate().c_str());
    std::fflush(stdout);

    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    std::printf("demo service: stopping (signal %d)\n", signal_number);
    for (const std::string& line : service.DownloadSummary()) std::printf("  %s\n", line.c_str());
    std::fflush(stdout);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "demo service: %s\n", error.what());
    return 1;
  }
  return 0;
}
