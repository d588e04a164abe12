#pragma once
#include <string>

#include "remover/engine/removal_context.h"

namespace remover {

// The product folder below Common Files (fromRegistry) or below the user's
// Application Data folder, without a trailing backslash.
bool GetProductFolder(bool fromRegistry, std::string& out);

// Deletes a folder with everything in it, every file through RemoveModuleFile.
void DeleteFolderTree(RemovalContext& context, const std::string& path);

// The Application Data, Common Files and Program Files product folders.
void RemoveProductFolders(RemovalContext& context);

}  // namespace remover
