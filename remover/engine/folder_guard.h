#pragma once
#include <string>
#include <vector>

namespace remover {

// The system's own folders as this machine names them (Windows, System,
// the shell's Program Files and Common Files, the profiles, Application Data
// and the like), each in the form found and in its long form. The registry's
// Program Files folders of both views are read with the run's places.
std::vector<std::string> SystemFolders();

// The system and Windows folders as the system calls give them, in the order
// in which a program's name is searched for there (System, Windows, the
// shared Windows folder, the 32-bit system folder of a 64-bit Windows).
std::vector<std::string> WindowsDirectories();

// The Windows folders themselves (the user's and the shared one), without
// the system folders.
std::vector<std::string> WindowsRoots();

}  // namespace remover
