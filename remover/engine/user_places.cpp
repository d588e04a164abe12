#include "remover/engine/user_places.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "platform/registry_key.h"
#include "remover/core/shared_dll_name.h"
#include "remover/engine/deletion_guard.h"
#include "remover/engine/file_link.h"
#include "remover/engine/shell_folder.h"

namespace remover {
namespace {

// Every spelling of the folder: as written, long, short and final.
void AddFolderForms(const std::string& folder, std::vector<std::string>& forms) {
    std::string trimmed = folder;
    while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
    if (trimmed.empty()) return;
    for (std::string& spelling : PathSpellings(trimmed)) forms.push_back(std::move(spelling));
}

bool InsideAny(const std::string& path, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
        if (remover_core::IsInsideFolder(path, folder)) return true;
    return false;
}

// Every spelling of Program Files and Common Files the machine records, the
// 32-bit and the 64-bit ones alike.
std::vector<std::string> ProgramFolders() {
    static const char* const kValueNames[] = {"ProgramFilesDir", "CommonFilesDir",   "ProgramFilesDir (x86)",
                                              "CommonFilesDir (x86)", "ProgramW6432Dir", "CommonW6432Dir"};
    std::vector<std::string> forms;
    platform::RegistryKeyA key;
    if (key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", KEY_READ) != ERROR_SUCCESS)
        return forms;
    for (const char* name : kValueNames) {
        std::string folder;
        if (key.ReadText(name, folder) == ERROR_SUCCESS) AddFolderForms(folder, forms);
    }
    return forms;
}

}  // namespace

bool LiesInUserProfile(const std::string& path) {
    std::vector<std::string> folders;
    for (const int csidl : {CSIDL_PROFILE, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA}) {
        std::string folder;
        if (GetShellFolder(csidl, folder)) AddFolderForms(folder, folders);
    }
    if (InsideAny(path, folders)) return true;
    std::string resolved;
    return ReadFinalPath(path, resolved) && InsideAny(resolved, folders);
}

bool LiesInMakersProgramFolders(const std::string& path) {
    std::string resolved;
    if (!ReadFinalPath(path, resolved)) return false;
    std::vector<std::string> makers;
    for (const std::string& folder : ProgramFolders()) makers.push_back(folder + "\\Halvorix");
    return InsideAny(resolved, makers);
}

}  // namespace remover
