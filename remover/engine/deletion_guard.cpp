#include "remover/engine/deletion_guard.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/code_page_case.h"
#include "remover/core/deletion_rules.h"
#include "remover/core/folder_refusal.h"
#include "remover/engine/file_link.h"
#include "remover/engine/path_spelling.h"
#include "remover/engine/user_links.h"

namespace remover {
namespace {

// Case folded the way the code page does, so that non-ASCII names compare too.
std::vector<std::string> Upper(std::vector<std::string> texts) {
    for (std::string& text : texts) text = platform::CodePageUpper(std::move(text));
    return texts;
}

}  // namespace

bool IsFolderSafeToDelete(const MachinePlaces& places, const std::string& path, const std::string& trustedBase) {
    if (!places.complete) return false;
    if (remover_core::ClassifyFolderPath(path) != remover_core::FolderShape::Walkable) return false;
    for (const std::string& spelling : UpperSpellings(path))
        if (remover_core::IsFolderRefused(spelling, places.folders)) return false;
    // A folder that is itself a link is removed as a link, never walked.
    const LinkKind link = ClassifyLink(path);
    if (link == LinkKind::Link || link == LinkKind::ResolvesElsewhere) return false;
    return !HasUserLinkOnTheWay(places, path, trustedBase);
}

bool IsFolderLinkSafeToRemove(const MachinePlaces& places, const std::string& path, const std::string& trustedBase) {
    if (!places.complete || remover_core::ClassifyFolderPath(path) != remover_core::FolderShape::Walkable)
        return false;
    // Its own name is judged, not what it points to: that stays.
    return !remover_core::IsFolderRefused(platform::CodePageUpper(path), places.folders) &&
           !HasUserLinkOnTheWay(places, path, trustedBase);
}

bool IsFileSafeToRemove(const MachinePlaces& places, const std::string& path) {
    if (!places.complete) return false;
    if (remover_core::ClassifyFolderPath(remover_core::ComparablePath(path)) != remover_core::FolderShape::Walkable)
        return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (HasUserLinkOnTheWay(places, path, std::string())) return false;
    // A file that the machine's registry names may lie on another computer's
    // share; the product's own folder in Application Data may be redirected.
    for (const std::string& spelling : UpperSpellings(path))
        if (remover_core::IsFileRefused(spelling, places.windowsFolders, places.folders,
                                        remover_core::ShareReach::OtherComputers))
            return false;
    return true;
}

bool IsFoundFileSafeToRemove(const MachinePlaces& places, const std::string& path) {
    if (!places.complete) return false;
    std::vector<std::string> spellings{path};
    std::string finalPath;
    if (ReadFinalPath(path, finalPath)) spellings.push_back(finalPath);
    for (const std::string& spelling : Upper(spellings))
        if (remover_core::IsFileRefused(spelling, places.windowsFolders, places.folders,
                                        remover_core::ShareReach::OwnFolderOnly))
            return false;
    return true;
}

bool LiesInDownloadCache(const std::string& path) {
    if (remover_core::ClassifyFolderPath(remover_core::ComparablePath(path)) != remover_core::FolderShape::Walkable)
        return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    char windows[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::vector<std::string> caches = Upper(PathSpellings(std::string(windows) + "\\Downloaded Program Files"));
    // Every spelling, the final one included, must stay inside: a link in the
    // cache cannot lead the deletion into the system folder.
    for (const std::string& written : Upper(PathSpellings(path))) {
        const std::string spelling = remover_core::ComparablePath(written);
        const bool inside = std::any_of(caches.begin(), caches.end(), [&](const std::string& cacheSpelling) {
            const std::string cache = remover_core::ComparablePath(cacheSpelling);
            return spelling.size() > cache.size() + 1 && remover_core::LiesWithin(spelling, cache);
        });
        if (!inside) return false;
    }
    return true;
}

}  // namespace remover
