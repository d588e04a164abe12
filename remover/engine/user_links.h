#pragma once
// Links on the way to a path are followed where only administrators could
// have made or changed them, and refused where a standard user could re-point
// them between the judgement and the act.
#include <string>

#include "remover/engine/machine_places.h"

namespace remover {

// True when a standard user can add files or folders to the folder, or give
// themselves that right: it lies in the user's profile or own folders, or its
// access list lets Everyone, Authenticated Users, Users or INTERACTIVE write
// there or change the list. A folder without a list, or whose security cannot
// be read, counts as writable.
bool StandardUserCanWrite(const MachinePlaces& places, const std::string& folder);

// True when a folder on the way to `path` below `base` (see
// FolderLinksOnTheWay) is a link that lies in a folder a standard user can write.
bool HasUserLinkOnTheWay(const MachinePlaces& places, const std::string& path, const std::string& base);

}  // namespace remover
