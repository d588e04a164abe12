#include "remover/engine/file_link.h"

#include <windows.h>

#include "platform/exact_text.h"
#include "platform/final_path.h"
#include "remover/core/final_path.h"

namespace remover {
namespace {

// Room for the "\\?\UNC\" that the final path puts in front of a full path.
constexpr std::size_t kLongestFinalPath = MAX_PATH - 1 + 8;

// The final path without its "\\?\" prefix, as the rest of the remover spells paths.
platform::FinalPathStatus ReadPlainFinalPath(const std::string& path, std::string& out) {
    std::string finalPath;
    const platform::FinalPathStatus status = platform::QueryFinalPath(path, finalPath, kLongestFinalPath);
    if (status == platform::FinalPathStatus::Read) out = remover_core::PlainFinalPath(finalPath);
    return status;
}

}  // namespace

bool ReadFinalPath(const std::string& path, std::string& out) {
    return ReadPlainFinalPath(path, out) == platform::FinalPathStatus::Read;
}

platform::FinalPathStatus ReadHeldFinalPath(HANDLE file, std::string& out) {
    std::wstring finalPath;
    const platform::FinalPathStatus status = platform::QueryFinalPath(file, finalPath, kLongestFinalPath);
    if (status != platform::FinalPathStatus::Read) return status;
    std::string narrow;
    if (!platform::NarrowExactly(finalPath, narrow)) return platform::FinalPathStatus::Unreadable;
    out = remover_core::PlainFinalPath(narrow);
    return status;
}

LinkKind ClassifyLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LinkKind::None;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return LinkKind::Link;
    std::string finalPath;
    switch (ReadPlainFinalPath(path, finalPath)) {
        case platform::FinalPathStatus::Read:
            return remover_core::FinalPathIsPath(path, finalPath) ? LinkKind::None : LinkKind::ResolvesElsewhere;
        case platform::FinalPathStatus::TooLong:  // longer than any path of ours: it leads elsewhere
            return LinkKind::ResolvesElsewhere;
        case platform::FinalPathStatus::Unreadable:
        case platform::FinalPathStatus::NoSuchCall:
            break;
    }
    return LinkKind::None;
}

}  // namespace remover
