#pragma once
#include <string>

// Set when a file could only be scheduled for deletion at the next restart;
// never cleared. Start-up reads it once, after the removal.
extern bool g_restartNeeded;

namespace remover {

// Deletes one file now or, when Windows refuses because it is in use, locked
// or access is denied, at the next start of Windows (and sets g_restartNeeded).
void DeleteFileOrSchedule(const std::string& path);

// True when this run has already scheduled the file for deletion at the next
// restart (compared without regard to case). A file that several removal
// steps name is then neither unregistered nor scheduled a second time.
bool IsScheduledForRestart(const std::string& path);

// The path with every component in its long form as stored on disk, or
// kTooLongName for a path of more than 260 characters.
std::string ExpandToLongPath(const std::string& path);
extern const char kTooLongName[];

// The long name of the path's last component, or the text after its last
// backslash when nothing is found.
std::string FindLongName(const std::string& path);

}  // namespace remover
