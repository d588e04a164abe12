#pragma once
#include <windows.h>

namespace remover {

// Deletes `name` under `parent` with all its subkeys, deepest first. Stops at
// the first subkey that cannot be deleted and returns that status; what is
// above it stays. ERROR_SUCCESS when the whole tree went; an empty or null
// name is refused with ERROR_INVALID_PARAMETER. A registry link is deleted as
// a link: its target stays.
LONG DeleteKeyTree(HKEY parent, const char* name);

}  // namespace remover
