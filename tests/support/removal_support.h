#pragma once
// Helpers for the file-removal tests: the fixture modules' records, a process
// that holds files open, the restart-time deletion lists and the Windows 98
// presentation of a program under Wine.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/unique_resource.h"
#include "remover/engine/removal_context.h"

namespace testsupport {

// How often the fixture module copy `moduleName` saw `event` ("Loaded",
// "Unregistered", "Freed"); 0 when never.
DWORD ProbeCount(const char* event, const std::string& moduleName);
extern const char kProbeRecordsKey[];  // HKCU, cleared by the tests

// Starts file_holder.exe on the files and returns once they are open; the
// files are released and the holder ended on destruction.
class FileHolder {
public:
    explicit FileHolder(const std::vector<std::string>& files);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    bool holding() const { return holding_; }

private:
    platform::UniqueHandle ready_;
    platform::UniqueHandle release_;
    platform::UniqueHandle process_;
    bool holding_ = false;
};

// A context without the elevated-run rules, as a standard user's run has (Wine runs every test elevated).
remover::RemovalContext StandardUserContext();

// Files that PendingFileRenameOperations deletes at the next restart, as
// plain paths (without the "\??\" prefix).
std::vector<std::string> PendingDeletions();
// Removes every pending operation whose file lies below `folder` (case
// insensitive), so that the prefix stays clean.
void DropPendingBelow(const std::string& folder);

// The prefix's wininit.ini (in the Windows folder): its bytes, or empty when
// missing; written back (or deleted) on destruction of ScopedWininit.
std::string WininitPath();
std::string ReadWholeFile(const std::string& path);
class ScopedWininit {
public:
    ScopedWininit();
    ~ScopedWininit();
    ScopedWininit(const ScopedWininit&) = delete;
    ScopedWininit& operator=(const ScopedWininit&) = delete;

private:
    bool existed_;
    std::string content_;
};

// Wine presents the named program as Windows 98 while this lives.
class ScopedWin98Program {
public:
    explicit ScopedWin98Program(const std::string& exeName);
    ~ScopedWin98Program();
    ScopedWin98Program(const ScopedWin98Program&) = delete;
    ScopedWin98Program& operator=(const ScopedWin98Program&) = delete;

private:
    std::string key_;
};

}  // namespace testsupport
