#pragma once
// Which folders the remover may delete with everything in them. A mistake
// here deletes other people's data, so anything that is not plainly a folder
// below a drive root or a network share is refused, and so is every folder
// that is, or holds, one of the system's own folders.
#include <string>
#include <string_view>
#include <vector>

namespace remover_core {

enum class FolderShape {
    Walkable,      // a folder below a drive root or below a share
    Empty,         // no text at all
    Relative,      // no drive or share, a bare drive ("C:"), or "C:folder"
    DriveRoot,     // "C:\"
    ShareRoot,     // "\\server", "\\server\share"
    BadComponent,  // ".", "..", wildcards, streams, device namespaces
};

// The folder's shape; both separators count, as they do for Windows.
FolderShape ClassifyFolderPath(std::string_view path);

// A path below a drive root or a share with no name the walk refuses: the
// only form in which a module or a program named by the registry is taken.
inline bool IsPlainFullPath(std::string_view path) { return ClassifyFolderPath(path) == FolderShape::Walkable; }

// True when `folder` is `systemFolder` or one of the folders above it. The
// comparison ignores ASCII case, doubled separators and the trailing dots and
// blanks that Windows drops from names. A system folder of another shape
// than Walkable (an empty lookup result) covers nothing.
bool CoversFolder(std::string_view folder, std::string_view systemFolder);

// Walkable and covering none of the system folders.
bool IsDeletableFolder(std::string_view folder, const std::vector<std::string>& systemFolders);

}  // namespace remover_core
