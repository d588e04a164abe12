#include "remover/engine/machine_places.h"

#include <windows.h>

#include <shlobj.h>

#include <memory>
#include <utility>

#include "platform/code_page_case.h"
#include "platform/optional_proc.h"
#include "platform/product_constants.h"
#include "platform/registry_key.h"
#include "remover/core/folder_refusal.h"
#include "remover/engine/elevation.h"
#include "remover/engine/folder_guard.h"
#include "remover/engine/path_spelling.h"
#include "remover/engine/product_places.h"
#include "remover/engine/registry_paths.h"
#include "remover/engine/shell_folder.h"

namespace remover {
namespace {

// Folders below Common Files that hold modules shared with the system.
constexpr const char* kSharedSubfolders[] = {"\\System", "\\Microsoft Shared", "\\Services", "\\SpeechEngines"};

// The current user's own data: nothing inside them is the product's.
constexpr int kUserDataFolders[] = {
    CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL,         CSIDL_FAVORITES,     CSIDL_STARTMENU,
    CSIDL_MYPICTURES,       CSIDL_MYMUSIC,          CSIDL_MYVIDEO,       CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU,
};

enum FolderRole { kProgramNative, kProgramX86, kCommonNative, kCommonX86, kRoleCount };

// The first two values name each view's own folders; the others name the
// same folder in both views.
struct FolderValue {
    const char* name;
    FolderRole in64BitView;
    FolderRole in32BitView;
};
constexpr FolderValue kFolderValues[] = {
    {kProgramFilesValue, kProgramNative, kProgramX86},
    {kCommonFilesValue, kCommonNative, kCommonX86},
    {"ProgramFilesDir (x86)", kProgramX86, kProgramX86},
    {"CommonFilesDir (x86)", kCommonX86, kCommonX86},
    {"ProgramW6432Dir", kProgramNative, kProgramNative},
    {"CommonW6432Dir", kCommonNative, kCommonNative},
};

struct ProgramFolders {
    std::vector<std::string> programFiles, commonFiles;  // as the registry writes them
    bool complete = false;
};

bool Is64BitWindows() {
#if defined(_WIN64)
    return true;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 =
        platform::GetOptionalProc<IsWow64ProcessFn>(::GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
#endif
}

// Program Files and Common Files as both registry views name them: the
// 32-bit remover's own view names the x86 folders, and 64-bit Windows before
// Windows 7 (and Wine) names the native ones in the 64-bit view only.
ProgramFolders LearnProgramFolders() {
    ProgramFolders out;
    bool learned[kRoleCount] = {};
    const bool wide = Is64BitWindows();
    // A 32-bit Windows has one view, and older ones refuse the view flags.
    const REGSAM views[] = {wide ? REGSAM{KEY_WOW64_64KEY} : REGSAM{0}, KEY_WOW64_32KEY};
    for (int view = 0; view < (wide ? 2 : 1); ++view) {
        platform::RegistryKeyA key;
        if (key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ | views[view]) != ERROR_SUCCESS) continue;
        for (const FolderValue& value : kFolderValues) {
            std::string folder;
            if (key.ReadText(value.name, folder) != ERROR_SUCCESS || !remover_core::IsPlainFullPath(folder))
                continue;
            const FolderRole role = view == 0 ? value.in64BitView : value.in32BitView;
            learned[role] = true;
            (role == kProgramNative || role == kProgramX86 ? out.programFiles : out.commonFiles).push_back(folder);
        }
    }
    out.complete = learned[kProgramNative] && learned[kCommonNative] &&
                   (!wide || (learned[kProgramX86] && learned[kCommonX86]));
    return out;
}

void AddSpellings(std::vector<std::string>& out, const std::string& path) {
    if (path.empty()) return;
    for (std::string& spelling : UpperSpellings(path)) out.push_back(std::move(spelling));
}

// Every spelling as written (not upper-cased), without trailing backslashes.
void AddFolderForms(std::vector<std::string>& forms, const std::string& folder) {
    std::string trimmed = folder;
    while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
    if (trimmed.empty()) return;
    for (std::string& spelling : PathSpellings(trimmed)) forms.push_back(std::move(spelling));
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

std::vector<std::string> SealedFolders(const std::vector<std::string>& windowsFolders,
                                       const ProgramFolders& program) {
    std::vector<std::string> folders = windowsFolders;
    std::vector<std::string> commonFiles = program.commonFiles;
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

// Every profile the machine lists, wherever it lies (another drive too).
void AddListedProfiles(std::vector<std::string>& roots) {
    platform::RegistryKeyA list;
    if (list.Open(HKEY_LOCAL_MACHINE, kProfileListKey, KEY_READ) != ERROR_SUCCESS) return;
    std::string profiles;
    if (list.ReadText("ProfilesDirectory", profiles) == ERROR_SUCCESS) AddExpanded(roots, profiles);
    for (const std::string& name : list.SubkeyNames()) {
        platform::RegistryKeyA profile;
        std::string image;
        if (profile.Open(list.get(), name.c_str(), KEY_READ) == ERROR_SUCCESS &&
            profile.ReadText("ProfileImagePath", image) == ERROR_SUCCESS)
            AddExpanded(roots, image);
    }
}

// The names under which this computer's shares are reached: the NetBIOS name
// and, where the system has the call, the DNS host and full names.
std::vector<std::string> LocalHostNames() {
    std::vector<std::string> names;
    char name[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (::GetComputerNameA(name, &length) && length < MAX_PATH) names.push_back(platform::CodePageUpper(name));
    using ComputerNameExFn = BOOL(WINAPI*)(COMPUTER_NAME_FORMAT, LPSTR, LPDWORD);
    const auto nameEx =
        platform::GetOptionalProc<ComputerNameExFn>(::GetModuleHandleA("kernel32.dll"), "GetComputerNameExA");
    for (const COMPUTER_NAME_FORMAT format : {ComputerNameDnsHostname, ComputerNameDnsFullyQualified}) {
        length = MAX_PATH;
        if (nameEx && nameEx(format, name, &length) && length < MAX_PATH)
            names.push_back(platform::CodePageUpper(name));
    }
    return names;
}

// The product's folders below Common Files and Program Files in every
// spelling, as the walk finds them.
std::vector<std::string> AdminProductFolderForms() {
    std::vector<std::string> forms;
    std::string folder;
    if (GetProductFolder(true, folder)) AddFolderForms(forms, folder);
    if (ReadCurrentVersionFolder(kProgramFilesValue, folder)) AddFolderForms(forms, folder + kClientSubfolder);
    return forms;
}

remover_core::ProtectedFolders GatherProtectedFolders(const std::vector<std::string>& windowsFolders,
                                                      const ProgramFolders& program) {
    remover_core::ProtectedFolders folders;
    folders.sealed = SealedFolders(windowsFolders, program);
    for (const std::string& folder : SystemFolders()) AddSpellings(folders.covered, folder);
    for (const auto* list : {&program.programFiles, &program.commonFiles})
        for (const std::string& folder : *list) AddSpellings(folders.covered, folder);
    std::string profile;
    if (GetShellFolder(CSIDL_PROFILE, profile)) {
        AddSpellings(folders.ownProfiles, profile);
        AddSpellings(folders.profileRoots, Parent(profile));
    }
    AddListedProfiles(folders.profileRoots);
    // The product's folder in Application Data: the one share the guards
    // allow, where the folder is redirected, and the one place they allow in
    // the Windows folder, where older systems keep Application Data.
    std::string product;
    if (GetProductFolder(false, product)) AddSpellings(folders.shareAllowed, product);
    for (const std::string& folder : WindowsRoots()) AddSpellings(folders.windowsRoots, folder);
    folders.localHosts = LocalHostNames();
    return folders;
}

}  // namespace

MachinePlaces GatherMachinePlaces() {
    const SpellingMemo memo;
    MachinePlaces places;
    const ProgramFolders program = LearnProgramFolders();
    const std::vector<std::string> windows = WindowsDirectories();
    // The System and Windows folders come first and always answer on a sound system.
    places.complete = program.complete && windows.size() >= 2;
    for (const std::string& folder : windows) AddSpellings(places.windowsFolders, folder);
    places.folders = GatherProtectedFolders(places.windowsFolders, program);
    for (const int csidl : {CSIDL_PROFILE, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA}) {
        std::string folder;
        if (GetShellFolder(csidl, folder)) AddFolderForms(places.userFolders, folder);
    }
    std::vector<std::string> programForms;
    for (const auto* list : {&program.programFiles, &program.commonFiles})
        for (const std::string& folder : *list) AddFolderForms(programForms, folder);
    for (const std::string& folder : programForms) places.makersFolders.push_back(folder + "\\" + product::kMakerFolder);
    places.adminProductFolders = AdminProductFolderForms();
    std::string appData;
    if (GetProductFolder(false, appData)) AddFolderForms(places.productFolders, appData);
    places.productFolders.insert(places.productFolders.end(), places.adminProductFolders.begin(),
                                 places.adminProductFolders.end());
    places.elevated = IsProcessElevated();
    return places;
}

const MachinePlaces& PlacesOf(RemovalContext& context) {
    if (!context.places) context.places = std::make_shared<const MachinePlaces>(GatherMachinePlaces());
    return *context.places;
}

}  // namespace remover
