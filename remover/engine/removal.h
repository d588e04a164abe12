#pragma once
#include <windows.h>

#include <vector>

namespace remover {

// Takes the product off the machine in one fixed sequence. Reports nothing:
// every step skips what it cannot do and the next one runs.
void RunRemoval(bool silent, bool removeFolders, const std::vector<GUID>& keepList);

}  // namespace remover
