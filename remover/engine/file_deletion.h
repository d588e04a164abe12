#pragma once
#include <optional>
#include <string>

#include "remover/engine/removal_context.h"

namespace remover {

// Deletes one file now or, when Windows refuses because it is in use, locked
// or access is denied, at the next start of Windows (and records in the
// context that a restart is needed and that the file is scheduled). Where
// scheduling is unsafe (below the user's profile in an elevated run) the file
// is left for the run after the restart, which is still asked for.
void DeleteFileOrSchedule(RemovalContext& context, const std::string& path);

// A folder that could not be removed because files in it go at restart: on
// the NT family it is scheduled too, after those files, so that the restart
// leaves no empty product folder. wininit.ini of the Windows 95 family
// deletes files only; there the folder waits for the next run.
void ScheduleFolderAfterItsFiles(RemovalContext& context, const std::string& folder);

// True when a file that this run scheduled lies below the folder.
bool HoldsScheduledFiles(const RemovalContext& context, const std::string& folder);

// True when this run has already scheduled the file for deletion at the next
// restart (compared without regard to case). A file that several removal
// steps name is then neither unregistered nor scheduled a second time.
bool IsScheduledForRestart(const RemovalContext& context, const std::string& path);

// The path with every component in its long form as stored on disk, or
// nullopt for a path of more than 260 characters.
std::optional<std::string> ExpandToLongPath(const std::string& path);

// The long name of the path's last component, or the text after its last
// backslash when nothing is found.
std::string FindLongName(const std::string& path);

}  // namespace remover
