#include "remover/engine/shell_folder.h"

#include <windows.h>

#include "platform/optional_proc.h"
#include "platform/unique_resource.h"
#include "remover/engine/dll_search.h"

namespace remover {
namespace {

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
constexpr DWORD kCurrentFolder = 0;  // SHGFP_TYPE_CURRENT

// Loaded once and kept until the process ends: a run asks for some forty
// folders, and loading and freeing the library for each was most of the
// cost of gathering them. By its full path: a "shfolder.dll" beside the
// remover must never load.
GetFolderPathFn FolderPathCall() {
    static const platform::UniqueModule library = [] {
        const std::string libraryPath = SystemModulePath("shfolder.dll");
        return platform::UniqueModule(libraryPath.empty() ? nullptr : ::LoadLibraryA(libraryPath.c_str()));
    }();
    return platform::GetOptionalProc<GetFolderPathFn>(library.get(), "SHGetFolderPathA");
}

}  // namespace

bool GetShellFolder(int csidl, std::string& out) {
    const auto getFolderPath = FolderPathCall();
    if (!getFolderPath) return false;
    char folder[MAX_PATH] = {};
    // S_FALSE (a folder that does not exist yet) counts as found.
    if (FAILED(getFolderPath(nullptr, csidl, nullptr, kCurrentFolder, folder))) return false;
    folder[MAX_PATH - 1] = '\0';
    out = folder;
    return true;
}

}  // namespace remover
