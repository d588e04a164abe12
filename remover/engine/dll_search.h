#pragma once
#include <string>

namespace remover {

// Limits where this process looks for DLLs to the system folder, so that a
// DLL planted beside the remover (a Downloads folder) or in the current
// folder is never picked up. Called before anything else loads a DLL. Older
// systems without SetDefaultDllDirectories at least lose the current folder.
void RestrictDllSearch();

// "<system folder>\<name>": a system DLL loaded by its full path cannot be
// found anywhere else. Empty when the system folder cannot be read.
std::string SystemModulePath(const char* name);

}  // namespace remover
