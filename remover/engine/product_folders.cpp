#include "remover/engine/product_folders.h"

namespace remover {

bool GetProductFolder(bool, std::string&) { return false; }

void DeleteFolderTree(const std::string&) {}

void RemoveProductFolders() {}

}  // namespace remover
