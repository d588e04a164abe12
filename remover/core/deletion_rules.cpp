#include "remover/core/deletion_rules.h"

#include "platform/product_constants.h"
#include "remover/core/folder_refusal.h"

namespace remover_core {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = text[i], b = prefix[i];
        if (IsSeparator(a) && IsSeparator(b)) continue;
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

bool IsShare(std::string_view path) { return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]); }

// The last name of a path, without trailing separators.
std::string_view LastName(std::string_view path) {
    while (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
    size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return path.substr(start);
}

std::string Upper(std::string_view text) {
    std::string upper;
    for (char c : text) upper.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
    return upper;
}

// The maker's folder name in any case, with the dots and blanks Windows drops.
bool IsMakerFolder(std::string_view folder) {
    const std::string name = Upper(LastName(folder));
    const size_t end = name.find_last_not_of(". ");
    return end != std::string::npos && name.substr(0, end + 1) == Upper(product::kMakerFolder);
}

// The machine's folders are compared in the same spelling as the path.
bool WithinAny(std::string_view path, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
        if (LiesWithin(path, ComparablePath(folder))) return true;
    return false;
}

bool CoversAny(std::string_view path, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
        if (CoversFolder(path, ComparablePath(folder))) return true;
    return false;
}

// The same folder as one of them.
bool IsAnyOf(std::string_view folder, const std::vector<std::string>& folders) {
    for (const std::string& other : folders)
        if (CoversFolder(folder, ComparablePath(other)) && LiesWithin(folder, ComparablePath(other))) return true;
    return false;
}

// Inside a sealed folder. The product's own Application Data folder may lie
// inside the Windows folder itself (the Windows 95 family and NT 4 keep the
// user's Application Data there), never inside a system folder below it.
bool SealedHolds(std::string_view path, const std::vector<std::string>& sealed, const ProtectedFolders& folders) {
    const bool ownAppData = WithinAny(path, folders.shareAllowed);
    for (const std::string& folder : sealed)
        if (LiesWithin(path, ComparablePath(folder)) && !(ownAppData && IsAnyOf(folder, folders.windowsRoots)))
            return true;
    return false;
}

}  // namespace

bool IsLocalOrAdministrativeShare(std::string_view written, const std::vector<std::string>& localHosts) {
    const std::string path = StartsWithFolded(written, "\\\\?\\UNC\\") ? "\\\\" + std::string(written.substr(8))
                                                                     : std::string(written);
    if (!IsShare(path)) return false;
    size_t hostEnd = 2;
    while (hostEnd < path.size() && !IsSeparator(path[hostEnd])) ++hostEnd;
    size_t shareEnd = hostEnd < path.size() ? hostEnd + 1 : hostEnd;
    while (shareEnd < path.size() && !IsSeparator(path[shareEnd])) ++shareEnd;
    std::string host = Upper(path.substr(2, hostEnd - 2));
    // Windows drops trailing dots of a name: "localhost." is "localhost".
    while (!host.empty() && host.back() == '.') host.pop_back();
    const std::string share = hostEnd < path.size() ? Upper(path.substr(hostEnd + 1, shareEnd - hostEnd - 1)) : "";
    if ((share.size() == 2 && IsDriveLetter(share[0]) && share[1] == '$') || share == "ADMIN$") return true;
    if (host == "LOCALHOST" || host.compare(0, 4, "127.") == 0 || host == "0--1.IPV6-LITERAL.NET") return true;
    for (const std::string& own : localHosts)
        if (!own.empty() && host == Upper(own)) return true;
    return false;
}

std::string ComparablePath(std::string_view path) {
    if (StartsWithFolded(path, "\\\\?\\UNC\\")) return "\\\\" + std::string(path.substr(8));
    if (StartsWithFolded(path, "\\\\?\\") && path.size() >= 6 && IsDriveLetter(path[4]) && path[5] == ':')
        return std::string(path.substr(4));
    if (IsShare(path)) {
        // "\\host\C$\rest": the host name, then a share named by a drive.
        size_t host = 2;
        while (host < path.size() && !IsSeparator(path[host])) ++host;
        const std::string_view share = path.substr(host < path.size() ? host + 1 : host);
        if (host > 2 && share.size() >= 2 && IsDriveLetter(share[0]) && share[1] == '$' &&
            (share.size() == 2 || IsSeparator(share[2])))
            return std::string(1, share[0]) + ":\\" + std::string(share.substr(share.size() > 2 ? 3 : 2));
    }
    return std::string(path);
}

bool LiesWithin(std::string_view path, std::string_view folder) { return CoversFolder(folder, path); }

// A share other than the product's own redirected folder: "\\host\ADMIN$",
// another machine's files, a loopback spelling of a local folder.
bool IsForeignShare(std::string_view comparable, const std::vector<std::string>& shareAllowed) {
    if (!IsShare(comparable)) return false;
    for (const std::string& own : shareAllowed)
        if (IsShare(ComparablePath(own)) && LiesWithin(comparable, ComparablePath(own))) return false;
    return true;
}

bool IsFolderRefused(std::string_view written, const ProtectedFolders& folders) {
    return FolderRefusal(written, folders) != Reason::None;
}

Reason FolderRefusal(std::string_view written, const ProtectedFolders& folders) {
    const std::string folder = ComparablePath(written);
    if (ClassifyFolderPath(folder) != FolderShape::Walkable) return Reason::NotAFullPath;
    if (IsLocalOrAdministrativeShare(written, folders.localHosts)) return Reason::LocalShare;
    if (IsForeignShare(folder, folders.shareAllowed)) return Reason::ForeignShare;
    // The maker's parent folders hold other products of the maker.
    if (IsMakerFolder(folder)) return Reason::MakersFolder;
    if (CoversAny(folder, folders.sealed) || SealedHolds(folder, folders.sealed, folders)) return Reason::SystemFolder;
    if (CoversAny(folder, folders.covered) || CoversAny(folder, folders.profileRoots)) return Reason::ProtectedFolder;
    if (WithinAny(folder, folders.profileRoots) && !WithinAny(folder, folders.ownProfiles))
        return Reason::OtherUsersProfile;
    return Reason::None;
}

bool IsFileRefused(std::string_view file, const std::vector<std::string>& sealed,
                   const std::vector<std::string>& shareAllowed) {
    ProtectedFolders folders;
    folders.shareAllowed = shareAllowed;
    return IsFileRefused(file, sealed, folders, ShareReach::OwnFolderOnly);
}

bool IsFileRefused(std::string_view written, const std::vector<std::string>& sealed, const ProtectedFolders& folders,
                   ShareReach reach) {
    return FileRefusal(written, sealed, folders, reach) != Reason::None;
}

Reason FileRefusal(std::string_view written, const std::vector<std::string>& sealed, const ProtectedFolders& folders,
                   ShareReach reach) {
    const std::string file = ComparablePath(written);
    if (ClassifyFolderPath(file) != FolderShape::Walkable) return Reason::NotAFullPath;
    if (IsLocalOrAdministrativeShare(written, folders.localHosts)) return Reason::LocalShare;
    if (reach == ShareReach::OwnFolderOnly && IsForeignShare(file, folders.shareAllowed)) return Reason::ForeignShare;
    return SealedHolds(file, sealed, folders) ? Reason::SystemFolder : Reason::None;
}

}  // namespace remover_core
