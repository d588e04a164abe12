#pragma once
// One file opened by its judged path, its own name (a link as the link), so
// that what is loaded or deleted is the object that was judged.
#include <windows.h>

#include <string>

#include "platform/unique_resource.h"

namespace remover {

// Opens a module for loading: shared for reading only, so that while it is
// held nobody can change, replace or rename it. Empty when it does not open.
platform::UniqueFile HoldForLoading(const std::string& path);

// True when the held file is the one `path` names: its final path is that
// path itself (no link on the way), or the system cannot tell (before Vista,
// where the handle still pins the file's own name).
bool HeldFileIsPath(HANDLE held, const std::string& path);

// Deletes the file that `path` names through a handle of its own, read-only
// cleared first, and only when that handle is the file the path names. False
// with the reason in GetLastError (ERROR_BAD_PATHNAME when the path now leads
// elsewhere). Before Vista, which has no deletion through a handle, by name.
bool DeleteThroughHandle(const std::string& path);

}  // namespace remover
