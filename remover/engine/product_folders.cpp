#include "remover/engine/product_folders.h"

#include <windows.h>

#include <optional>

#include "platform/unique_resource.h"
#include "remover/engine/deletion_guard.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/machine_places.h"
#include "remover/engine/module_file.h"
#include "remover/engine/product_places.h"

namespace remover {
namespace {

const char kClientSubfolder[] = "\\Halvorix\\Meridel VRML Client";

bool IsLinkedFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Depth first, below the folder's long form; every file through
// RemoveFoundFile. A junction or symbolic link is removed as a link: what it
// points to belongs to someone else.
void DeleteTreeBelow(RemovalContext& context, const std::string& path) {
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
                DeleteTreeBelow(context, full);
            } else {
                RemoveFoundFile(context, full);
            }
        } while (::FindNextFileA(find.get(), &entry));
    }
    if (!::RemoveDirectoryA(path.c_str()) && HoldsScheduledFiles(context, path)) ScheduleFolderAfterItsFiles(context, path);
}

}  // namespace

void DeleteFolderTree(RemovalContext& context, const std::string& path, const std::string& trustedBase) {
    // The refusal lives here so that no caller can hand a drive, a share, a
    // system folder or a path through a link to the walk.
    if (!IsFolderSafeToDelete(PlacesOf(context), path, trustedBase)) return;
    // Every name the walk finds is then a long one, as the SharedDlls values
    // and the files scheduled for the restart are spelled.
    const std::optional<std::string> longPath = ExpandToLongPath(path);
    if (longPath) DeleteTreeBelow(context, *longPath);
}

void RemoveProductFolders(RemovalContext& context) {
    std::string base, folder;
    if (GetProductFolderAndBase(false, base, folder)) DeleteFolderTree(context, folder, base);
    if (GetProductFolderAndBase(true, base, folder)) DeleteFolderTree(context, folder, base);
    if (ReadCurrentVersionFolder("ProgramFilesDir", base)) DeleteFolderTree(context, base + kClientSubfolder, base);
}

}  // namespace remover
