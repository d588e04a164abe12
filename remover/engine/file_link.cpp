#include "remover/engine/file_link.h"

#include <windows.h>

#include "platform/optional_proc.h"
#include "platform/unique_resource.h"
#include "remover/core/final_path.h"

namespace remover {
namespace {

// Room for the "\\?\UNC\" that the final path puts in front of a full path.
constexpr DWORD kFinalPathCapacity = MAX_PATH + 8;

enum class FinalPath { Unreadable, TooLong, Read };

FinalPath ReadFinalPathText(const std::string& path, std::string& out) {
    using GetFinalPathFn = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    const auto getFinalPath = platform::GetOptionalProc<GetFinalPathFn>(::GetModuleHandleA("kernel32.dll"),
                                                                        "GetFinalPathNameByHandleA");
    if (!getFinalPath) return FinalPath::Unreadable;
    platform::UniqueFile file(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return FinalPath::Unreadable;
    char finalPath[kFinalPathCapacity] = {};
    const DWORD length = getFinalPath(file.get(), finalPath, kFinalPathCapacity, 0 /* normalized, DOS name */);
    if (length == 0) return FinalPath::Unreadable;
    if (length >= kFinalPathCapacity) return FinalPath::TooLong;
    out = remover_core::PlainFinalPath(finalPath);
    return FinalPath::Read;
}

}  // namespace

bool ReadFinalPath(const std::string& path, std::string& out) {
    return ReadFinalPathText(path, out) == FinalPath::Read;
}

LinkKind ClassifyLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LinkKind::None;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return LinkKind::Link;
    std::string finalPath;
    switch (ReadFinalPathText(path, finalPath)) {
        case FinalPath::Read:
            return remover_core::FinalPathIsPath(path, finalPath) ? LinkKind::None : LinkKind::ResolvesElsewhere;
        case FinalPath::TooLong:  // longer than any path of ours: it leads elsewhere
            return LinkKind::ResolvesElsewhere;
        case FinalPath::Unreadable:
            break;
    }
    return LinkKind::None;
}

}  // namespace remover
