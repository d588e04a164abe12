#pragma once
#include <windows.h>

#include "remover/engine/removal_context.h"

namespace remover {

// Runs an older version's registered uninstaller and waits for it.
void RunOldUninstallers(RemovalContext& context, HKEY hive, bool silent);

}  // namespace remover
