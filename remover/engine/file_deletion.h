#pragma once
#include <functional>
#include <string>

#include "remover/engine/removal_context.h"

namespace remover {

// Deletes one file now or, when Windows refuses because it is in use, locked
// or access is denied, at the next start of Windows (and records in the
// context that a restart is needed and that the file is scheduled). An elevated
// run schedules only inside the product's folders below Common Files and
// Program Files; elsewhere the file is left for the run after the restart,
// which is still asked for.
// `deleteNow`, when given, deletes the file instead of its path: true when it
// went, otherwise GetLastError says why.
using DeleteNow = std::function<bool()>;
void DeleteFileOrSchedule(RemovalContext& context, const std::string& path, const DeleteNow& deleteNow = nullptr);

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

}  // namespace remover
