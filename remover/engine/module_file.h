#pragma once

namespace remover {

// The one way the remover deletes a file: long path, DllUnregisterServer for a
// ".dll" or ".exe", the SharedDlls value, then the file (now or at restart).
// A null or empty path does nothing.
void RemoveModuleFile(const char* path);

}  // namespace remover
