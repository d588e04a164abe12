#pragma once
#include <windows.h>

#include <string>

#include "platform/final_path.h"

namespace remover {

// The path the file system resolves `path` to, in plain form ("C:\...").
// False where it cannot be read (no such file, no GetFinalPathNameByHandleA).
bool ReadFinalPath(const std::string& path, std::string& out);
// The final path of a file this process holds open, in plain form. Read only
// when it opens the held object and the code page spells it exactly.
platform::FinalPathStatus ReadHeldFinalPath(HANDLE file, std::string& out);

enum class LinkKind {
    None,         // the file is what the path names
    Link,         // the path is itself a link (a reparse point)
    ResolvesElsewhere,  // no reparse point, but the file system resolves the
                        // path to another file: a linked folder on the way,
                        // or a host link under Wine
};

// Which of the three the path is. None for a missing file, and where the
// final path cannot be read.
LinkKind ClassifyLink(const std::string& path);

inline bool IsLinkedFile(const std::string& path) { return ClassifyLink(path) != LinkKind::None; }

}  // namespace remover
