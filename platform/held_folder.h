#pragma once
// A folder walked through a handle held open on it: its entries are listed
// and its files and subfolders opened relative to that handle, so that a
// folder swapped for a link while the walk runs is never entered, and a file
// is deleted only when its handle names it inside the held folder. Needs the
// handle calls of Vista and later; elsewhere nothing opens.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/unique_resource.h"

namespace platform {

struct HeldEntry {
    std::wstring name;
    DWORD attributes;
    // The file index the listing gave (0 where the file system has none).
    unsigned long long fileId;
};

// Whether the system can delete a file through a handle (Vista and later).
bool CanDeleteByHandle();
// Clears the open file's attributes (read-only included) and marks it for
// deletion when its handle closes; it must be open with DELETE and
// FILE_WRITE_ATTRIBUTES. False, with the reason in GetLastError, otherwise.
bool DeleteByHandle(HANDLE file);

class HeldFolder {
public:
    HeldFolder() = default;
    // True where the system has the handle calls the walk needs.
    static bool Available();
    // The folder at `path` itself, never a link; empty when it is none, or
    // when its final path is not `path`.
    static HeldFolder Open(const std::wstring& path);
    // The folder at `path` as the file system resolves it now (through the
    // links the path holds), held under its final path.
    static HeldFolder OpenResolved(const std::wstring& path);
    // A new, empty file `name` directly inside this folder, open for writing
    // and shared for reading only. Whatever the name held before is deleted
    // first (a link as the link); nothing is created, and the handle is empty,
    // when something is still there or the new file lies anywhere else.
    UniqueFile CreateFileBelow(const std::wstring& name) const;
    // The subfolder listed as `entry`, opened relative to this folder; empty
    // when it is a link, is not the very object listed, or its final path
    // leads anywhere but directly below this one.
    HeldFolder OpenChild(const HeldEntry& entry) const;
    // Every entry, "." and ".." included; false when the listing fails.
    bool List(std::vector<HeldEntry>& entries) const;
    // Deletes the file listed as `entry` below this folder through a handle of
    // its own (read-only cleared first). False with the reason in
    // GetLastError; ERROR_BAD_PATHNAME when the name no longer names that
    // file directly inside this folder.
    bool DeleteFileBelow(const HeldEntry& entry) const;
    // Marks this folder for deletion when its handle closes (it must be
    // empty); true when the system accepted it.
    bool DeleteWhenClosed() const;
    explicit operator bool() const { return handle_.valid(); }

private:
    HeldFolder(UniqueFile handle, std::wstring finalPath, unsigned long long parentIndex = 0);
    UniqueFile handle_;
    std::wstring finalPath_;
    unsigned long long parentIndex_ = 0;  // of the folder it was opened from; 0 when none
    DWORD volume_ = 0;                   // the held folder's volume serial number
    unsigned long long index_ = 0;       // and its file index
};

}  // namespace platform
