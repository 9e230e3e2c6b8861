// A writer process for the tests that need several real processes on one record at once, a
// writer killed in the middle of a write, or a second start of the installer.
//
//   store_writer ini <file> <section> <key prefix> <count>
//       writes <prefix>0 .. <prefix><count-1> (value = key name) into one ini file
//   store_writer registry <key name> <count>
//       writes values v0 .. v<count-1> into HKEY_CURRENT_USER\Software\Race\<key name>
//   store_writer records <file> <size> [<file size limit>]
//       replaces <file> with generation 1, 2, ... of a record of <size> bytes for ever,
//       printing each generation's number once it is in place; with a limit below <size> the
//       kernel ends it (SIGXFSZ) in the middle of writing generation 1
//   store_writer instance <name>
//       a start of the installer: prints "acquired", "held" or "unavailable"; when held, sends
//       the "show yourself" request and prints "sent" or "no answer"; exits 0
//   store_writer hold-instance <name>
//       takes the instance lock, prints "acquired", then prints "shown" for every request
//
// Exit code 0 when every write succeeded, 1 otherwise, 2 for a usage error.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/atomic_file.h"
#include "platform/private_profile.h"
#include "platform/registry.h"
#include "platform/posix/socket_single_instance.h"
#include "store_record.h"

namespace {

using namespace qv::platform;

constexpr int kUsageError = 2;
constexpr int kWaitForeverMs = -1;

void Say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

int WriteIni(const std::string& file, const std::string& section, const std::string& prefix,
             int count) {
  for (int i = 0; i < count; ++i) {
    const std::string key = prefix + std::to_string(i);
    if (!WritePrivateProfileString(section, key, key, file)) return 1;
  }
  return 0;
}

int WriteRegistry(const std::string& key_name, int count) {
  for (int i = 0; i < count; ++i) {
    RegistryKey key;
    if (CurrentRegistry().CreateKey(RegistryRoot::kCurrentUser, "Software\\Race\\" + key_name,
                                    key_access::kAll, key) != RegistryStatus::kOk ||
        key.SetStringValue("v" + std::to_string(i), std::to_string(i)) != RegistryStatus::kOk) {
      return 1;
    }
  }
  return 0;
}

int WriteRecords(const std::string& file, size_t size, rlim_t file_size_limit) {
  const rlimit no_core_file{0, 0};
  const rlimit file_size{file_size_limit, file_size_limit};
  if (setrlimit(RLIMIT_CORE, &no_core_file) != 0 || setrlimit(RLIMIT_FSIZE, &file_size) != 0) {
    return 1;
  }
  for (int generation = 1;; ++generation) {
    if (WriteFileAtomically(file, qv::test::StoreRecord(generation, size))) return 1;
    std::printf("%d\n", generation);
    std::fflush(stdout);
  }
}

int StartInstance(const std::string& name) {
  std::unique_ptr<SingleInstance> instance;
  switch (SingleInstance::Acquire(name, instance)) {
    case InstanceLockResult::kAcquired: Say("acquired"); break;
    case InstanceLockResult::kUnavailable: Say("unavailable"); break;
    case InstanceLockResult::kHeldElsewhere:
      Say("held");
      Say(SendShowRequest(name) ? "sent" : "no answer");
      break;
  }
  return 0;
}

int HoldInstance(const std::string& name) {
  std::unique_ptr<SocketSingleInstance> instance;
  if (SocketSingleInstance::Acquire(name, instance) != InstanceLockResult::kAcquired) return 1;
  Say("acquired");
  while (true) {
    if (instance->WaitForShowRequest(kWaitForeverMs)) Say("shown");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "ini" && argc == 6) return WriteIni(argv[2], argv[3], argv[4], std::atoi(argv[5]));
  if (mode == "registry" && argc == 4) return WriteRegistry(argv[2], std::atoi(argv[3]));
  if (mode == "records" && (argc == 4 || argc == 5)) {
    return WriteRecords(argv[2], std::strtoul(argv[3], nullptr, 10),
                        argc == 5 ? std::strtoull(argv[4], nullptr, 10) : RLIM_INFINITY);
  }
  if (mode == "instance" && argc == 3) return StartInstance(argv[2]);
  if (mode == "hold-instance" && argc == 3) return HoldInstance(argv[2]);
  std::fprintf(stderr, "usage: see store_writer.cpp\n");
  return kUsageError;
}
