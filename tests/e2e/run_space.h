// The namespaces of one end-to-end run, entered by the test's set-up: a network of its own with
// only the loopback interface (the service listens on the fixed ports built into the installer),
// its own view of the demo PKI folder the installer trusts (the run's certificates go into
// `root`/service/pki, and a demo beside it keeps its own) and its own process space (nothing of
// the run outlives it).
//
// The test's main thread, in SetUp, before any process is started.
#pragma once

#include <string>

#include "own_process_space.h"
#include "temp_root.h"

namespace qv::test {

// Skips the test (not root: no network namespace) or fails it fatally (a namespace that should
// be made was not); the caller returns when IsSkipped() or HasFatalFailure(). `pki_folder` is
// the folder of the CA the installer was built with, as this machine names it.
void EnterRunSpace(const TempRoot& root, const std::string& pki_folder, OwnProcessSpace& space);

}  // namespace qv::test
