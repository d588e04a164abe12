#include "remover/engine/product_folders.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/unique_resource.h"
#include "remover/engine/folder_guard.h"
#include "remover/engine/module_file.h"
#include "remover/engine/registry_text.h"
#include "remover/engine/shell_folder.h"

namespace remover {
namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kProductSubfolder[] = "\\Halvorix\\Meridel";
const char kClientSubfolder[] = "\\Halvorix\\Meridel VRML Client";

bool ReadCurrentVersionFolder(const char* valueName, std::string& out) {
    platform::UniqueKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    return ReadRegistryText(key.get(), valueName, out);
}

bool IsLinkedFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Depth first; every file through RemoveModuleFile. A junction or symbolic
// link is removed as a link: what it points to belongs to someone else.
void DeleteTreeBelow(const std::string& path) {
    {
        WIN32_FIND_DATAA entry{};
        platform::UniqueFind find(::FindFirstFileA((path + "\\*.*").c_str(), &entry));
        if (!find) return;
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (IsLinkedFolder(entry.dwFileAttributes)) {
                ::RemoveDirectoryA(full.c_str());
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTreeBelow(full);
            } else {
                RemoveModuleFile(full.c_str());
            }
        } while (::FindNextFileA(find.get(), &entry));
    }
    ::RemoveDirectoryA(path.c_str());
}

}  // namespace

bool GetProductFolder(bool fromRegistry, std::string& out) {
    std::string base;
    if (fromRegistry ? !ReadCurrentVersionFolder("CommonFilesDir", base) : !GetShellFolder(CSIDL_APPDATA, base))
        return false;
    out = base + kProductSubfolder;
    return true;
}

void DeleteFolderTree(const std::string& path) {
    // The refusal lives here so that no caller can hand a drive, a share or a
    // system folder to the walk.
    if (!IsFolderSafeToDelete(path)) return;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && IsLinkedFolder(attributes)) {
        ::RemoveDirectoryA(path.c_str());
        return;
    }
    DeleteTreeBelow(path);
}

void RemoveProductFolders() {
    std::string folder;
    if (GetProductFolder(false, folder)) DeleteFolderTree(folder);
    if (GetProductFolder(true, folder)) DeleteFolderTree(folder);
    std::string programFiles;
    if (ReadCurrentVersionFolder("ProgramFilesDir", programFiles)) DeleteFolderTree(programFiles + kClientSubfolder);
}

}  // namespace remover
