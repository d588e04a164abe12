#pragma once
#include <string>

#include "remover/engine/removal_context.h"

namespace remover {

// Deletes a folder with everything in it, every file through RemoveFoundFile.
// trustedBase: the folder the path was built from (empty: the drive root);
// no name below it may be a link.
void DeleteFolderTree(RemovalContext& context, const std::string& path,
                      const std::string& trustedBase = std::string());

// The Application Data, Common Files and Program Files product folders.
void RemoveProductFolders(RemovalContext& context);
// Reports each of them that is there as kept, for the reason given.
void KeepProductFolders(RemovalContext& context, remover_core::Reason why);

}  // namespace remover
