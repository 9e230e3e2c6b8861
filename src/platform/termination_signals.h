// The requests to end the program that reach it as signals (SIGTERM from the session or `kill`,
// SIGINT from a terminal, SIGHUP when the terminal goes), turned into a readable descriptor so
// that the UI's event loop can end the program in its usual order.
//
// Process-wide, set up once; the handlers only write a byte to a pipe (async-signal-safe).
// Thread-safe.
#pragma once

namespace qv::platform {

// Installs the handlers on the first call and returns the pipe's read end (non-blocking), which
// becomes readable when one of the signals arrived; -1 when no pipe could be made (the signals
// then keep their default action).
int TerminationSignalFd();

// Empties the pipe; true when a signal had arrived.
bool TakeTerminationSignals();

}  // namespace qv::platform
