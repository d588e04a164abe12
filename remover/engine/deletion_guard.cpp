#include "remover/engine/deletion_guard.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/code_page_case.h"
#include "remover/core/deletion_rules.h"
#include "remover/core/folder_refusal.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/file_link.h"

namespace remover {
namespace {

// Case folded the way the code page does, so that non-ASCII names compare too.
std::vector<std::string> Upper(std::vector<std::string> texts) {
    for (std::string& text : texts) text = platform::CodePageUpper(std::move(text));
    return texts;
}

// Where the first name below the drive ("C:") or share ("\\host\share") starts.
size_t RootLength(const std::string& path) {
    if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return path.size() >= 2 && path[1] == ':' ? 2 : 0;
    const size_t share = path.find('\\', 2);
    if (share == std::string::npos) return path.size();
    const size_t end = path.find('\\', share + 1);
    return end == std::string::npos ? path.size() : end;
}

}  // namespace

std::vector<std::string> PathSpellings(const std::string& path) {
    std::vector<std::string> spellings{path};
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return spellings;
    const std::optional<std::string> longForm = ExpandToLongPath(path);
    // A path too long to handle keeps a spelling no rule accepts.
    spellings.push_back(longForm.value_or(std::string()));
    char shortForm[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(path.c_str(), shortForm, MAX_PATH);
    if (length > 0 && length < MAX_PATH) spellings.push_back(shortForm);
    std::string finalPath;
    if (ReadFinalPath(path, finalPath)) spellings.push_back(finalPath);
    return spellings;
}

std::vector<std::string> UpperSpellings(const std::string& path) { return Upper(PathSpellings(path)); }

bool HasLinkBelow(const std::string& written, const std::string& trustedBase, bool includeLast) {
    std::string folder = written;
    for (char& c : folder)
        if (c == '/') c = '\\';
    size_t start = RootLength(folder);
    if (!trustedBase.empty() && remover_core::LiesWithin(Upper({folder})[0], Upper({trustedBase})[0]))
        start = std::max(start, trustedBase.size());
    while (start < folder.size() && folder[start] == '\\') ++start;
    // Each name from the first one below the base, down to the folder itself.
    for (size_t end = folder.find('\\', start);; end = folder.find('\\', end + 1)) {
        const bool last = end == std::string::npos;
        if (last && !includeLast) return false;
        const std::string prefix = folder.substr(0, last ? folder.size() : end);
        const DWORD attributes = ::GetFileAttributesA(prefix.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        if (last) return false;
    }
}

bool IsFolderSafeToDelete(const MachinePlaces& places, const std::string& path, const std::string& trustedBase) {
    return FolderRefusal(places, path, trustedBase) == remover_core::Reason::None;
}

remover_core::Reason FolderRefusal(const MachinePlaces& places, const std::string& path,
                                   const std::string& trustedBase) {
    using remover_core::Reason;
    if (!places.complete) return Reason::PlacesUnknown;
    if (remover_core::ClassifyFolderPath(path) != remover_core::FolderShape::Walkable) return Reason::NotAFullPath;
    for (const std::string& spelling : UpperSpellings(path))
        if (const Reason why = remover_core::FolderRefusal(spelling, places.folders); why != Reason::None) return why;
    return HasLinkBelow(path, trustedBase, true) ? Reason::ThroughLink : Reason::None;
}

bool IsFileSafeToRemove(const MachinePlaces& places, const std::string& path) {
    return FileRefusal(places, path) == remover_core::Reason::None;
}

remover_core::Reason FileRefusal(const MachinePlaces& places, const std::string& path) {
    using remover_core::Reason;
    if (!places.complete) return Reason::PlacesUnknown;
    if (remover_core::ClassifyFolderPath(remover_core::ComparablePath(path)) != remover_core::FolderShape::Walkable)
        return Reason::NotAFullPath;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Reason::NotAFile;
    // A file that the machine's registry names may lie on another computer's
    // share; the product's own folder in Application Data may be redirected.
    for (const std::string& spelling : UpperSpellings(path))
        if (const Reason why = remover_core::FileRefusal(spelling, places.windowsFolders, places.folders,
                                                         remover_core::ShareReach::OtherComputers);
            why != Reason::None)
            return why;
    return Reason::None;
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
