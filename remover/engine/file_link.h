#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/final_path.h"
#include "platform/thread_scope.h"

namespace remover {

// The path the file system resolves `path` to, in plain form ("C:\...").
// False where it cannot be read (no such file, no GetFinalPathNameByHandleA).
bool ReadFinalPath(const std::string& path, std::string& out);
// The final path of a file this process holds open, in plain form. Read only
// when it opens the held object and the code page spells it exactly.
platform::FinalPathStatus ReadHeldFinalPath(HANDLE file, std::string& out);

// While one lives on a thread, the final path of a path read there by name is
// read once: the guard and the link rule judge one file on one reading of it
// (and a folder walk pays for one reading per file, not three).
struct FinalPathsRead {
    std::map<std::string, std::pair<platform::FinalPathStatus, std::string>> read;
};
using FinalPathMemo = platform::ThreadScope<FinalPathsRead>;

enum class LinkKind {
    None,         // the file is what the path names
    Link,         // the path's own name is a link (a junction or symbolic link)
    ResolvesElsewhere,  // no reparse point, but the path's own name leads to
                        // another file (a host link under Wine)
    ThroughLinkedFolder,  // a folder on the way, or the drive, leads
                          // elsewhere: the file is reached by its final path
};

// Which of the four the path is. None for a missing file, and where the
// final path cannot be read. A reparse point that is no link (a deduplicated
// file, a cloud placeholder) is judged by where it resolves, like any file.
LinkKind ClassifyLink(const std::string& path);

inline bool IsLinkedFile(const std::string& path) { return ClassifyLink(path) != LinkKind::None; }

// A folder on the way to a path that leads elsewhere, and the final path of
// the folder that holds it.
struct FolderLink {
    std::string link;
    std::string holder;
};

// The folders on the way to `path` (its own name not included) that lead
// elsewhere, from the first name below `base` on (below the drive or share
// when `base` is empty or not above the path). A drive that is itself
// substituted or mapped is no folder link.
std::vector<FolderLink> FolderLinksOnTheWay(const std::string& path, const std::string& base);

}  // namespace remover
