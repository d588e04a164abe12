#pragma once
#include <string>
#include <vector>

namespace remover {

// The system's own folders as this machine names them (Windows, System,
// Program Files, Common Files, the profiles, Application Data and the like),
// each in the form found and in its long form.
std::vector<std::string> SystemFolders();

// False for a path that is no folder below a drive root or share, and for a
// folder that is, or holds, one of the system folders, in the form written or
// in its long form.
bool IsFolderSafeToDelete(const std::string& path);

}  // namespace remover
