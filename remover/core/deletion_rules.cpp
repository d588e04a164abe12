#include "remover/core/deletion_rules.h"

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

// "Halvorix" in any case, with the dots and blanks Windows drops.
bool IsMakerFolder(std::string_view folder) {
    std::string name;
    for (char c : LastName(folder)) name.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
    const size_t end = name.find_last_not_of(". ");
    return end != std::string::npos && name.substr(0, end + 1) == "HALVORIX";
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

}  // namespace

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
    const std::string folder = ComparablePath(written);
    if (ClassifyFolderPath(folder) != FolderShape::Walkable) return true;
    if (IsForeignShare(folder, folders.shareAllowed)) return true;
    // The maker's parent folders hold other products of the maker.
    if (IsMakerFolder(folder)) return true;
    if (CoversAny(folder, folders.sealed) || WithinAny(folder, folders.sealed)) return true;
    if (CoversAny(folder, folders.covered) || CoversAny(folder, folders.profileRoots)) return true;
    if (WithinAny(folder, folders.profileRoots) && !WithinAny(folder, folders.ownProfiles)) return true;
    return false;
}

bool IsFileRefused(std::string_view written, const std::vector<std::string>& sealed,
                   const std::vector<std::string>& shareAllowed) {
    const std::string file = ComparablePath(written);
    if (ClassifyFolderPath(file) != FolderShape::Walkable) return true;
    if (IsForeignShare(file, shareAllowed)) return true;
    return WithinAny(file, sealed);
}

}  // namespace remover_core
