#include "remover/core/folder_refusal.h"

#include "platform/ascii_case.h"

namespace remover_core {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Windows drops trailing dots and blanks from a name: "Windows. " is "Windows".
std::string_view TrimNameEnd(std::string_view name) {
    const size_t end = name.find_last_not_of(". ");
    return end == std::string_view::npos ? std::string_view() : name.substr(0, end + 1);
}

bool IsBadComponent(std::string_view name) {
    if (TrimNameEnd(name).empty()) return true;  // ".", "..", "...", " "
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return true;
        // Wildcards (DOS ones included), streams and reserved characters.
        if (std::string_view("*?<>\"|:").find(c) != std::string_view::npos) return true;
    }
    return false;
}

struct ParsedFolder {
    FolderShape shape;
    std::string root;                     // "C:" or "\\SERVER\SHARE", case folded
    std::vector<std::string> components;  // below the root, case folded and trimmed
};

std::vector<std::string_view> SplitNames(std::string_view text) {
    std::vector<std::string_view> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        if (end > start) names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string Folded(std::string_view name) {
    std::string text;
    for (char c : TrimNameEnd(name)) text.push_back(platform::AsciiLower(c));
    return text;
}

ParsedFolder Parse(std::string_view path) {
    ParsedFolder parsed{FolderShape::Walkable, {}, {}};
    if (path.empty()) return {FolderShape::Empty, {}, {}};
    std::vector<std::string_view> names;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        names = SplitNames(path.substr(2));
        if (names.size() < 2) return {FolderShape::ShareRoot, {}, {}};
        // "\\?\" and "\\.\" open the device namespaces: never walked.
        if (names[0] == "?" || names[0] == "." || IsBadComponent(names[0]) || IsBadComponent(names[1]))
            return {FolderShape::BadComponent, {}, {}};
        parsed.root = "\\\\" + Folded(names[0]) + "\\" + Folded(names[1]);
        names.erase(names.begin(), names.begin() + 2);
        if (names.empty()) return {FolderShape::ShareRoot, {}, {}};
    } else if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
        parsed.root = std::string(1, platform::AsciiLower(path[0])) + ":";
        names = SplitNames(path.substr(3));
        if (names.empty()) return {FolderShape::DriveRoot, {}, {}};
    } else {
        return {FolderShape::Relative, {}, {}};
    }
    for (std::string_view name : names) {
        if (IsBadComponent(name)) return {FolderShape::BadComponent, {}, {}};
        parsed.components.push_back(Folded(name));
    }
    return parsed;
}

}  // namespace

FolderShape ClassifyFolderPath(std::string_view path) { return Parse(path).shape; }

bool CoversFolder(std::string_view folder, std::string_view systemFolder) {
    const ParsedFolder candidate = Parse(folder);
    const ParsedFolder system = Parse(systemFolder);
    if (candidate.shape != FolderShape::Walkable || system.shape != FolderShape::Walkable) return false;
    if (candidate.root != system.root || candidate.components.size() > system.components.size())
        return false;
    for (size_t i = 0; i < candidate.components.size(); ++i)
        if (candidate.components[i] != system.components[i]) return false;
    return true;
}

bool IsDeletableFolder(std::string_view folder, const std::vector<std::string>& systemFolders) {
    if (ClassifyFolderPath(folder) != FolderShape::Walkable) return false;
    for (const std::string& systemFolder : systemFolders)
        if (CoversFolder(folder, systemFolder)) return false;
    return true;
}

}  // namespace remover_core
