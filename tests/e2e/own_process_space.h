// Gives the processes the calling process starts from now on a PID namespace of their own, with
// its own /proc, so that an end-to-end run and the processes it starts (the service, the
// installer, the client the installer starts, an X server) neither see nor end the processes of
// another run, of a demo beside it or of anybody else on the machine, and nothing of the run
// survives it.
//
// The namespace's process 1 is a small reaper forked here: it mounts the namespace's /proc (in a
// mount namespace of the caller's own, so the machine's /proc stays as it is), then only collects
// the orphans that land with it (the client the installer starts and leaves behind). When it
// ends, the kernel ends every process in the namespace; the object ends it when it goes, and the
// kernel also does when the calling process dies.
//
// The calling process itself stays where it is: it keeps the machine's process numbers, sees the
// namespace's /proc (where /proc/self does not name it) and may no longer start threads.
// Needs CAP_SYS_ADMIN (root); call Enter once, on the test's main thread, before starting any
// process.
//
// Ownership and threads: owned by the test on its main thread.
#pragma once

#include <sys/types.h>

#include <string>

namespace qv::test {

class OwnProcessSpace {
 public:
  OwnProcessSpace() = default;
  ~OwnProcessSpace();
  OwnProcessSpace(const OwnProcessSpace&) = delete;
  OwnProcessSpace& operator=(const OwnProcessSpace&) = delete;

  // False, with the reason, when the namespace could not be made or its /proc not mounted.
  bool Enter(std::string& why_not);

 private:
  pid_t reaper_ = -1;
};

}  // namespace qv::test
