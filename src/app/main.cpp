// qvorvane-installer: the window backend of the system runs the whole program (ui/program.h).
#include "ui/program.h"

int main(int argc, char** argv) { return qv::ui::RunInstaller(argc, argv); }
