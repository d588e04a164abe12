#include "remover/engine/dll_search.h"

#include <windows.h>

#include "platform/optional_proc.h"

namespace remover {

void RestrictDllSearch() {
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    using SetDefaultDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDirectories =
        platform::GetOptionalProc<SetDefaultDirectoriesFn>(kernel, "SetDefaultDllDirectories");
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Both are looked up: the oldest systems have neither.
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    if (const auto setDllDirectory = platform::GetOptionalProc<SetDllDirectoryFn>(kernel, "SetDllDirectoryA"))
        setDllDirectory("");
}

std::string SystemModulePath(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(folder) + "\\" + name;
}

}  // namespace remover
