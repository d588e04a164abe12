#include "remover/engine/shell_folder.h"

#include <windows.h>

#include "platform/optional_proc.h"
#include "platform/unique_resource.h"
#include "remover/engine/dll_search.h"

namespace remover {
namespace {

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
constexpr DWORD kCurrentFolder = 0;  // SHGFP_TYPE_CURRENT

}  // namespace

bool GetShellFolder(int csidl, std::string& out) {
    // By its full path: a "shfolder.dll" beside the remover must never load.
    const std::string libraryPath = SystemModulePath("shfolder.dll");
    if (libraryPath.empty()) return false;
    platform::UniqueModule library(::LoadLibraryA(libraryPath.c_str()));
    const auto getFolderPath = platform::GetOptionalProc<GetFolderPathFn>(library.get(), "SHGetFolderPathA");
    if (!getFolderPath) return false;
    char folder[MAX_PATH] = {};
    // S_FALSE (a folder that does not exist yet) counts as found.
    if (FAILED(getFolderPath(nullptr, csidl, nullptr, kCurrentFolder, folder))) return false;
    folder[MAX_PATH - 1] = '\0';
    out = folder;
    return true;
}

}  // namespace remover
