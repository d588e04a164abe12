#pragma once
#include <windows.h>

#include "remover/engine/removal_context.h"

namespace remover {

// Modules named below the product key's "Render" subkey, then the subkey.
void RemoveRenderKey(RemovalContext& context);
void RemovePathKeyTree(RemovalContext& context, HKEY parent, const char* name);

}  // namespace remover
