#pragma once
#include <windows.h>

namespace remover {

// SharedDLLs values of files inside the product folders, in one hive.
void SweepSharedDllEntries(HKEY hive);

// Runs an older version's registered uninstaller and waits for it.
void RunOldUninstallers(HKEY hive, bool silent);

// Internet Explorer's download-cache records of the product's controls.
void RemoveDistributionUnits();

// Modules named below the product key's "Render" subkey, then the subkey.
void RemoveRenderKey();
void RemovePathKeyTree(HKEY parent, const char* name);

}  // namespace remover
