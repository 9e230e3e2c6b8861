// The installer program's whole start-up and run, defined by each window backend (Qt on Linux,
// Win32 on Windows): the display check, the single instance, the interface language, the main
// window that starts the installation, the event loop, and the shut-down order (the install
// controller's loops stop before the windows go). Returns the process's exit code.
#pragma once

namespace qv::ui {

int RunInstaller(int argc, char** argv);

}  // namespace qv::ui
