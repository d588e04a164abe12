#pragma once
// The one guard in front of every deletion of the remover. Paths come from the
// registry and the disk, which other programs of the user can write, so each
// is judged in every spelling it has on this machine: as written, long, short
// and final (after links).
#include <string>
#include <vector>

#include "remover/engine/machine_places.h"

namespace remover {

// A folder that may be deleted with everything in it: none of its spellings
// is, holds or lies inside a Windows, system or shared folder or another
// user's profile, is or holds one of the current user's own folders, is one of
// the maker's "Halvorix" folders, or is a share other than the product's
// Application Data folder (its final path included); its own name is no
// link; and no folder on the way below `trustedBase` is a link that a
// standard user could re-point (user_links.h). Judged against the run's
// places; nothing is safe when they are incomplete.
bool IsFolderSafeToDelete(const MachinePlaces& places, const std::string& path,
                          const std::string& trustedBase = std::string());

// A product folder that is itself a link may be removed as a link (what it
// points to stays) when its own name is no protected folder and no folder on
// the way below `trustedBase` is a link a standard user could re-point.
bool IsFolderLinkSafeToRemove(const MachinePlaces& places, const std::string& path, const std::string& trustedBase);

// A single file that may be unregistered and deleted: an absolute path that
// names no folder, lies on no local or administrative share and outside the
// Windows folder in every spelling (the product's Application Data folder
// excepted), and is reached through no link a standard user could re-point.
// Another computer's share is fine: the registry names the file.
bool IsFileSafeToRemove(const MachinePlaces& places, const std::string& path);

// A file that the walk of a folder found, named by the folder's long form and
// the name its listing gave: the folder passed IsFolderSafeToDelete, so what
// is judged again is only where the file lies in the end (after links).
bool IsFoundFileSafeToRemove(const MachinePlaces& places, const std::string& path);

// A single file inside Internet Explorer's download cache ("Downloaded Program
// Files" in the Windows folder, where the product's downloaded control lies)
// in every spelling, and not a folder. Only administrators write there.
bool LiesInDownloadCache(const std::string& path);

}  // namespace remover
