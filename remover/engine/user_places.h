#pragma once
#include <windows.h>

#include <string>

#include "remover/engine/machine_places.h"

namespace remover {

// The one elevated-run rule. In an elevated run the same user's unelevated
// processes share the registry hive and the profile, so what they can write
// may have been planted for the remover: a file below the profile, or a value
// read from the user's hive (HKEY_CURRENT_USER). Each step says what it then
// leaves alone. False in every other run.
bool ElevatedRunDistrusts(const MachinePlaces& places, const std::string& path);
bool ElevatedRunDistrusts(const MachinePlaces& places, HKEY hive);
// The same rule for what the restart does with the system's rights, by the
// path as it is then: wherever a standard user can create or rename a folder
// on it, a link could stand there by that time. Only a path inside the
// product's Common Files and Program Files folders keeps its meaning.
bool ElevatedRunDistrustsAtRestart(const MachinePlaces& places, const std::string& path);

// True when the file lies below the user's profile or application-data
// folders, where every unelevated process of the user can write. Both the
// path as given and the path it resolves to are compared.
bool LiesInUserProfile(const MachinePlaces& places, const std::string& path);

// True when the final path of a file (plain form, as read from the handle
// that holds the file) lies below the maker's folder (product::kMakerFolder) in Program
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
