#include "remover/engine/deletion_guard.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/code_page_case.h"
#include "platform/registry_key.h"
#include "remover/core/deletion_rules.h"
#include "remover/core/folder_refusal.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/file_link.h"
#include "remover/engine/folder_guard.h"
#include "remover/engine/product_folders.h"
#include "remover/engine/registry_paths.h"
#include "remover/engine/shell_folder.h"

namespace remover {
namespace {

// Folders below Common Files that hold modules shared with the system.
constexpr const char* kSharedSubfolders[] = {"\\System", "\\Microsoft Shared", "\\Services", "\\SpeechEngines"};
constexpr const char* kCommonFilesValues[] = {"CommonFilesDir", "CommonFilesDir (x86)", "CommonW6432Dir"};

// The current user's own data: nothing inside them is the product's.
constexpr int kUserDataFolders[] = {
    CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL,         CSIDL_FAVORITES,     CSIDL_STARTMENU,
    CSIDL_MYPICTURES,       CSIDL_MYMUSIC,          CSIDL_MYVIDEO,       CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU,
};

void AddSpellings(std::vector<std::string>& out, const std::string& path) {
    if (path.empty()) return;
    for (const std::string& spelling : PathSpellings(path)) out.push_back(spelling);
}

// Case folded the way the code page does, so that non-ASCII names compare too.
std::vector<std::string> Upper(std::vector<std::string> texts) {
    for (std::string& text : texts) text = platform::CodePageUpper(std::move(text));
    return texts;
}

void AddExpanded(std::vector<std::string>& out, const std::string& text) {
    char expanded[MAX_PATH] = {};
    const DWORD length = ::ExpandEnvironmentStringsA(text.c_str(), expanded, MAX_PATH);
    if (length > 0 && length <= MAX_PATH) AddSpellings(out, expanded);
}

std::string Parent(std::string folder) {
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const size_t slash = folder.rfind('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

std::vector<std::string> WindowsFolders() {
    std::vector<std::string> folders;
    for (const std::string& folder : WindowsDirectories()) AddSpellings(folders, folder);
    return folders;
}

std::vector<std::string> SealedFolders() {
    std::vector<std::string> folders = WindowsFolders();
    std::vector<std::string> commonFiles;
    platform::RegistryKeyA key;
    if (key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ) == ERROR_SUCCESS)
        for (const char* name : kCommonFilesValues) {
            std::string folder;
            if (key.ReadText(name, folder) == ERROR_SUCCESS) commonFiles.push_back(folder);
        }
    for (int csidl : {CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86}) {
        std::string folder;
        if (GetShellFolder(csidl, folder)) commonFiles.push_back(folder);
    }
    for (const std::string& common : commonFiles)
        for (const char* shared : kSharedSubfolders) AddSpellings(folders, common + shared);
    for (int csidl : kUserDataFolders) {
        std::string folder;
        if (GetShellFolder(csidl, folder)) AddSpellings(folders, folder);
    }
    // The machine's own keys and settings (cryptography, the system's
    // applications) lie in the Microsoft folder of the shared application data.
    std::string shared;
    if (GetShellFolder(CSIDL_COMMON_APPDATA, shared)) AddSpellings(folders, shared + "\\Microsoft");
    // Downloads has no CSIDL; its place is in the user's shell folders. A value
    // planted there only makes the guard refuse more.
    platform::RegistryKeyA shellFolders;
    std::string downloads;
    if (shellFolders.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                          KEY_READ) == ERROR_SUCCESS &&
        shellFolders.ReadText("{374DE290-123F-4565-9164-39C4925E467B}", downloads) == ERROR_SUCCESS)
        AddSpellings(folders, downloads);
    return folders;
}

// The product's folder in Application Data in every spelling, upper case: the
// one share the guards allow, where the folder is redirected.
std::vector<std::string> ProductFolderSpellings() {
    std::vector<std::string> spellings;
    std::string product;
    if (GetProductFolder(false, product)) AddSpellings(spellings, product);
    return Upper(spellings);
}

// Every profile the machine lists, wherever it lies (another drive too).
void AddListedProfiles(std::vector<std::string>& roots) {
    platform::RegistryKeyA list;
    if (list.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", KEY_READ) !=
        ERROR_SUCCESS)
        return;
    std::string profiles;
    if (list.ReadText("ProfilesDirectory", profiles) == ERROR_SUCCESS) AddExpanded(roots, profiles);
    char name[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        DWORD length = MAX_PATH;
        const LONG status = ::RegEnumKeyExA(list.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        platform::RegistryKeyA profile;
        std::string image;
        if (profile.Open(list.get(), name, KEY_READ) == ERROR_SUCCESS &&
            profile.ReadText("ProfileImagePath", image) == ERROR_SUCCESS)
            AddExpanded(roots, image);
    }
}

remover_core::ProtectedFolders GatherProtectedFolders() {
    remover_core::ProtectedFolders folders;
    folders.sealed = Upper(SealedFolders());
    std::vector<std::string> covered;
    for (const std::string& folder : SystemFolders()) AddSpellings(covered, folder);
    folders.covered = Upper(covered);
    std::vector<std::string> roots, own;
    std::string profile;
    if (GetShellFolder(CSIDL_PROFILE, profile)) {
        AddSpellings(own, profile);
        AddSpellings(roots, Parent(profile));
    }
    AddListedProfiles(roots);
    folders.profileRoots = Upper(roots);
    folders.ownProfiles = Upper(own);
    folders.shareAllowed = ProductFolderSpellings();
    return folders;
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

bool IsFolderSafeToDelete(const std::string& path, const std::string& trustedBase) {
    if (remover_core::ClassifyFolderPath(path) != remover_core::FolderShape::Walkable) return false;
    const remover_core::ProtectedFolders folders = GatherProtectedFolders();
    for (const std::string& spelling : Upper(PathSpellings(path)))
        if (remover_core::IsFolderRefused(spelling, folders)) return false;
    return !HasLinkBelow(path, trustedBase, true);
}

bool IsFileSafeToRemove(const std::string& path) {
    if (remover_core::ClassifyFolderPath(remover_core::ComparablePath(path)) != remover_core::FolderShape::Walkable)
        return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const std::vector<std::string> sealed = Upper(WindowsFolders());
    // The product's own folder in Application Data may be redirected to a share.
    const std::vector<std::string> shareAllowed = ProductFolderSpellings();
    for (const std::string& spelling : Upper(PathSpellings(path)))
        if (remover_core::IsFileRefused(spelling, sealed, shareAllowed)) return false;
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
