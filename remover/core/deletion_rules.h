#pragma once
// What the remover may delete, decided on path texts alone. The engine gathers
// the machine's folders and every spelling of a path (as written, long, short
// and final); a path is deleted only when no spelling is refused.
#include <string>
#include <string_view>
#include <vector>

#include "remover/core/report_line.h"

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
    // deleted from (a redirected profile), and the one place inside the
    // Windows folder (where the Windows 95 family and NT 4 keep the user's
    // Application Data).
    std::vector<std::string> shareAllowed;
    // Of the sealed folders, the Windows folders themselves: the only ones
    // the product's Application Data folder may lie in.
    std::vector<std::string> windowsRoots;
    // This computer's own names (NetBIOS and DNS), upper case: a share on
    // them is a local folder under another spelling.
    std::vector<std::string> localHosts;
};

// A share that reaches this computer's own folders or a whole drive: an
// administrative share ("\\host\C$", "\\host\ADMIN$") or a share of a
// loopback name ("localhost", "127.x.x.x", one of `localHosts`), in the
// "\\?\UNC\" form too. Neither files nor folders are ever taken from one.
bool IsLocalOrAdministrativeShare(std::string_view path, const std::vector<std::string>& localHosts);

// True when the folder, in this spelling, must not be deleted.
bool IsFolderRefused(std::string_view folder, const ProtectedFolders& folders);
// The rule that refuses it, or Reason::None.
Reason FolderRefusal(std::string_view folder, const ProtectedFolders& folders);

// True when a single file, in this spelling, must be neither loaded nor
// deleted: a relative or malformed path, one at or below a sealed folder, or
// one on a share outside `shareAllowed` (the share spellings of the product's
// own Application Data folder).
bool IsFileRefused(std::string_view file, const std::vector<std::string>& sealed,
                   const std::vector<std::string>& shareAllowed = {});

// Which shares a single file may lie on besides the product's own folder:
// another computer's share is fine for a file that the machine's own registry
// names, not for one that a walk found (only a link could lead there).
enum class ShareReach { OwnFolderOnly, OtherComputers };

// The same with the machine's other places: the product's Application Data
// folder is allowed inside the Windows folder, and no file lies on a local or
// administrative share.
bool IsFileRefused(std::string_view file, const std::vector<std::string>& sealed, const ProtectedFolders& folders,
                   ShareReach reach);
// The rule that refuses it, or Reason::None.
Reason FileRefusal(std::string_view file, const std::vector<std::string>& sealed, const ProtectedFolders& folders,
                   ShareReach reach);

}  // namespace remover_core
