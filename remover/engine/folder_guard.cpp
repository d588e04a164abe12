#include "remover/engine/folder_guard.h"

#include <windows.h>

#include <shlobj.h>

#include <utility>

#include "platform/optional_proc.h"
#include "platform/registry_key.h"
#include "remover/engine/path_spelling.h"
#include "remover/engine/shell_folder.h"

namespace remover {
namespace {

// Shell folders whose loss would hurt the user or the system.
constexpr int kShellFolders[] = {
    CSIDL_WINDOWS,          CSIDL_SYSTEM,           CSIDL_SYSTEMX86,
    CSIDL_PROGRAM_FILES,    CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_PROFILE,          CSIDL_APPDATA,          CSIDL_LOCAL_APPDATA,
    CSIDL_COMMON_APPDATA,   CSIDL_PERSONAL,         CSIDL_COMMON_DOCUMENTS,
    CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_STARTMENU,        CSIDL_COMMON_STARTMENU, CSIDL_FAVORITES,
    CSIDL_FONTS,
};

constexpr const char* kEnvironmentFolders[] = {
    "SystemRoot", "windir", "USERPROFILE", "ALLUSERSPROFILE", "PUBLIC", "ProgramData", "APPDATA", "LOCALAPPDATA",
};

using DirectoryFn = UINT(WINAPI*)(LPSTR, UINT);

void AddFolder(std::vector<std::string>& folders, const std::string& folder) {
    if (folder.empty()) return;
    folders.push_back(folder);
    const std::optional<std::string> longForm = ExpandToLongPath(folder);
    if (longForm && *longForm != folder) folders.push_back(*longForm);
}

void AddParent(std::vector<std::string>& folders, const std::string& folder) {
    std::string trimmed = folder;
    while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
    const size_t slash = trimmed.rfind('\\');
    if (slash != std::string::npos) AddFolder(folders, trimmed.substr(0, slash));
}

void AddDirectoryCalls(std::vector<std::string>& folders) {
    for (const std::string& folder : WindowsDirectories()) AddFolder(folders, folder);
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    if (length > 0 && length < MAX_PATH) AddFolder(folders, buffer);
}

// The folder that holds every user's profile. (Program Files and Common
// Files are read from both registry views with the run's places.)
void AddRegistryFolders(std::vector<std::string>& folders) {
    platform::RegistryKeyA profiles;
    if (profiles.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
                      KEY_READ) != ERROR_SUCCESS)
        return;
    for (const char* name : {"ProfilesDirectory", "Default", "Public", "ProgramData"}) {
        std::string folder;
        if (profiles.ReadText(name, folder) != ERROR_SUCCESS) continue;
        char expanded[MAX_PATH] = {};
        const DWORD length = ::ExpandEnvironmentStringsA(folder.c_str(), expanded, MAX_PATH);
        if (length > 0 && length <= MAX_PATH) AddFolder(folders, expanded);
    }
}

void AddEnvironmentFolders(std::vector<std::string>& folders) {
    for (const char* name : kEnvironmentFolders) {
        char buffer[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableA(name, buffer, MAX_PATH);
        if (length > 0 && length < MAX_PATH) AddFolder(folders, buffer);
    }
}

}  // namespace

std::vector<std::string> SystemFolders() {
    std::vector<std::string> folders;
    AddDirectoryCalls(folders);
    AddRegistryFolders(folders);
    AddEnvironmentFolders(folders);
    for (int csidl : kShellFolders) {
        std::string folder;
        if (GetShellFolder(csidl, folder)) AddFolder(folders, folder);
    }
    // The profiles root is the folder above the user's profile on every system.
    std::string profile;
    if (GetShellFolder(CSIDL_PROFILE, profile)) AddParent(folders, profile);
    return folders;
}

namespace {

// A folder that one of the directory calls gives; a missing call (the older
// systems lack some) or a failed one adds nothing.
void AddDirectory(std::vector<std::string>& folders, DirectoryFn fn) {
    char buffer[MAX_PATH] = {};
    const UINT length = fn ? fn(buffer, MAX_PATH) : 0;
    if (length > 0 && length < MAX_PATH) folders.push_back(buffer);
}

DirectoryFn KernelDirectoryCall(const char* name) {
    return platform::GetOptionalProc<DirectoryFn>(::GetModuleHandleA("kernel32.dll"), name);
}

}  // namespace

std::vector<std::string> WindowsRoots() {
    std::vector<std::string> folders;
    AddDirectory(folders, ::GetWindowsDirectoryA);
    AddDirectory(folders, KernelDirectoryCall("GetSystemWindowsDirectoryA"));
    return folders;
}

std::vector<std::string> WindowsDirectories() {
    std::vector<std::string> folders;
    AddDirectory(folders, ::GetSystemDirectoryA);
    for (std::string& folder : WindowsRoots()) folders.push_back(std::move(folder));
    AddDirectory(folders, KernelDirectoryCall("GetSystemWow64DirectoryA"));
    return folders;
}

}  // namespace remover
