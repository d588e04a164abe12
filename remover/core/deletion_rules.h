#pragma once
// What the remover may delete, decided on path texts alone. The engine gathers
// the machine's folders and every spelling of a path (as written, long, short
// and final); a path is deleted only when no spelling is refused.
#include <string>
#include <string_view>
#include <vector>

namespace remover_core {

// The spelling that the comparisons use: "\\?\C:\x" and "\\?\UNC\host\share\x"
// lose their prefix, and an administrative share "\\host\C$\x" becomes "C:\x"
// (taken for this machine's own drive: refusing too much is the safe side).
std::string ComparablePath(std::string_view path);

// True when `path` is `folder` or lies below it (same rules as CoversFolder).
bool LiesWithin(std::string_view path, std::string_view folder);

struct ProtectedFolders {
    // Refused when a folder is, holds or lies inside one of them: the Windows
    // folders and the system and shared folders.
    std::vector<std::string> sealed;
    // Refused when a folder is or holds one of them: Program Files, the
    // current user's profile, Application Data and the like.
    std::vector<std::string> covered;
    // Every folder inside these is another user's, except what lies inside
    // one of `ownProfiles` (the current user's, in each spelling).
    std::vector<std::string> profileRoots;
    std::vector<std::string> ownProfiles;
    // The product's Application Data folder: the one place a share may be
    // deleted from (a redirected profile).
    std::vector<std::string> shareAllowed;
};

// True when the folder, in this spelling, must not be deleted.
bool IsFolderRefused(std::string_view folder, const ProtectedFolders& folders);

// True when a single file, in this spelling, must be neither loaded nor
// deleted: a relative or malformed path, one at or below a sealed folder, or
// one on a share outside `shareAllowed` (the share spellings of the product's
// own Application Data folder).
bool IsFileRefused(std::string_view file, const std::vector<std::string>& sealed,
                   const std::vector<std::string>& shareAllowed = {});

}  // namespace remover_core
