#pragma once
#include <string>
#include <vector>

namespace remover {

// The system's own folders as this machine names them (Windows, System,
// Program Files, Common Files, the profiles, Application Data and the like),
// each in the form found and in its long form.
std::vector<std::string> SystemFolders();

}  // namespace remover
