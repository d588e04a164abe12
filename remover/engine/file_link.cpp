#include "remover/engine/file_link.h"

#include <windows.h>

#include <algorithm>

#include "platform/exact_text.h"
#include "platform/final_path.h"
#include "platform/unique_resource.h"
#include "remover/core/final_path.h"

namespace remover {
namespace {

// Room for the "\\?\UNC\" that the final path puts in front of a full path.
constexpr std::size_t kLongestFinalPath = MAX_PATH - 1 + 8;

// The final path without its "\\?\" prefix, as the rest of the remover spells paths.
platform::FinalPathStatus ReadPlainFinalPath(const std::string& path, std::string& out) {
    FinalPathsRead* const memo = FinalPathMemo::Active();
    if (memo) {
        const auto known = memo->read.find(path);
        if (known != memo->read.end()) {
            if (known->second.first == platform::FinalPathStatus::Read) out = known->second.second;
            return known->second.first;
        }
    }
    std::string finalPath;
    const platform::FinalPathStatus status = platform::QueryFinalPath(path, finalPath, kLongestFinalPath);
    if (status == platform::FinalPathStatus::Read) finalPath = remover_core::PlainFinalPath(finalPath);
    if (memo) memo->read.emplace(path, std::make_pair(status, finalPath));
    if (status == platform::FinalPathStatus::Read) out = std::move(finalPath);
    return status;
}

// A junction or symbolic link (a name surrogate); true where the tag cannot be
// read. Other reparse points (deduplicated files, cloud placeholders) are the
// file itself in another storage.
bool IsNameSurrogate(const std::string& path) {
    WIN32_FIND_DATAA entry{};
    const platform::UniqueFind find(::FindFirstFileA(path.c_str(), &entry));
    return !find || entry.dwReserved0 == 0 || IsReparseTagNameSurrogate(entry.dwReserved0);
}

// Where the first name below the drive ("C:") or share ("\\host\share") starts.
size_t RootLength(const std::string& path) {
    if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return path.size() >= 2 && path[1] == ':' ? 2 : 0;
    const size_t share = path.find('\\', 2);
    if (share == std::string::npos) return path.size();
    const size_t end = path.find('\\', share + 1);
    return end == std::string::npos ? path.size() : end;
}

// The final path of a folder; a drive or share is opened as its root folder.
bool ReadFolderFinalPath(const std::string& folder, std::string& out) {
    const bool root = RootLength(folder) == folder.size();
    return ReadFinalPath(root ? folder + "\\" : folder, out);
}

// `folder` + "\" + `name`, where the final path of a root already ends in one.
std::string Joined(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// True when the final path is not where the path's own folder leads, followed by its own name.
bool OwnNameLeadsElsewhere(const std::string& path, const std::string& finalPath) {
    const size_t slash = path.rfind('\\');
    std::string folderFinal;
    if (slash == std::string::npos || !ReadFolderFinalPath(path.substr(0, slash), folderFinal)) return true;
    return !remover_core::FinalPathIsPath(Joined(folderFinal, path.substr(slash + 1)), finalPath);
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
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsNameSurrogate(path)) return LinkKind::Link;
    std::string finalPath;
    switch (ReadPlainFinalPath(path, finalPath)) {
        case platform::FinalPathStatus::Read:
            if (remover_core::FinalPathIsPath(path, finalPath)) return LinkKind::None;
            return OwnNameLeadsElsewhere(path, finalPath) ? LinkKind::ResolvesElsewhere
                                                          : LinkKind::ThroughLinkedFolder;
        case platform::FinalPathStatus::TooLong:  // longer than any path of ours: it leads elsewhere
            return LinkKind::ResolvesElsewhere;
        case platform::FinalPathStatus::Unreadable:
        case platform::FinalPathStatus::NoSuchCall:
            break;
    }
    return LinkKind::None;
}

std::vector<FolderLink> FolderLinksOnTheWay(const std::string& written, const std::string& base) {
    std::string path = written;
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    size_t start = RootLength(path);
    if (!base.empty() && remover_core::FinalPathIsPath(path.substr(0, base.size()), base) &&
        (path.size() == base.size() || path[base.size()] == '\\'))
        start = std::max(start, base.size());
    std::vector<FolderLink> links;
    std::string holder;
    const bool finalPaths = ReadFolderFinalPath(path.substr(0, start), holder);
    for (size_t end = path.find('\\', start + 1); end != std::string::npos; end = path.find('\\', end + 1)) {
        const std::string folder = path.substr(0, end);
        const size_t slash = folder.rfind('\\');
        const DWORD attributes = ::GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) break;
        if (!finalPaths) {
            // Nothing tells where a folder leads (before Vista): every reparse point counts as a link.
            if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) links.push_back({folder, folder.substr(0, slash)});
            continue;
        }
        std::string folderFinal;
        if (!ReadFinalPath(folder, folderFinal)) {
            links.push_back({folder, holder});  // it leads nowhere this process can name
            break;
        }
        if (!remover_core::FinalPathIsPath(Joined(holder, folder.substr(slash + 1)), folderFinal))
            links.push_back({folder, holder});
        holder = folderFinal;
    }
    return links;
}

}  // namespace remover
