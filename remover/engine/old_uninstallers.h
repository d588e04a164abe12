#pragma once
#include <windows.h>

namespace remover {

// Runs an older version's registered uninstaller and waits for it.
void RunOldUninstallers(HKEY hive, bool silent);

}  // namespace remover
