#pragma once
#include <string>

namespace remover {

// SHGetFolderPathA from the system folder's "shfolder.dll", loaded for the one call and freed
// again (older systems have it only there). False when the library, the
// function or the folder is missing; `out` is then left unchanged.
bool GetShellFolder(int csidl, std::string& out);

}  // namespace remover
