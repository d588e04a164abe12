#pragma once
#include <string>

#include "remover/engine/machine_places.h"

namespace remover {

// True when the file lies below the user's profile or application-data
// folders, where every unelevated process of the user can write. Both the
// path as given and the path it resolves to are compared.
bool LiesInUserProfile(const MachinePlaces& places, const std::string& path);

// True when the final path of a file (plain form, as read from the handle
// that holds the file) lies below the maker's folder ("Halvorix") in Program
// Files or Common Files, which only administrators can change. Anywhere else
// in those folders lie other vendors' programs (a shell, an interpreter) that
// a planted command line could turn to any use.
bool LiesInMakersProgramFolders(const MachinePlaces& places, const std::string& finalPath);

// True when the file, as the file system resolves it, lies in one of the
// product's own three folders. False when it cannot be resolved.
bool LiesInProductFolders(const MachinePlaces& places, const std::string& path);

// True when the path, as written and as the file system resolves it now, is
// or lies inside the product's folder below Common Files or Program Files:
// no standard user can change what such a path names.
bool LiesInAdminOnlyProductFolders(const MachinePlaces& places, const std::string& path);

}  // namespace remover
