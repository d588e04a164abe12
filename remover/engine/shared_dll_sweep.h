#pragma once
#include <windows.h>

namespace remover {

// SharedDLLs values of files inside the product folders, in one hive.
void SweepSharedDllEntries(HKEY hive);

}  // namespace remover
