#pragma once
#include <windows.h>

#include <string>

#include "platform/registry_key.h"
#include "remover/engine/removal_context.h"

namespace remover {

// Modules named below the product key's "Render" subkey, then the subkey.
void RemoveRenderKey(RemovalContext& context, const std::string& productKeyPath);
void RemovePathKeyTree(RemovalContext& context, const platform::RegistryKeyA& parent, const char* name);

}  // namespace remover
