#include "remover/engine/module_loading.h"

#include <windows.h>

#include "remover/core/folder_refusal.h"
#include "remover/engine/user_places.h"

namespace remover {

bool MayLoadComponentModule(const MachinePlaces& places, const std::string& longPath) {
    return !ElevatedRunDistrusts(places, longPath);
}

platform::UniqueModule LoadComponentModule(const std::string& longPath) {
    if (!remover_core::IsPlainFullPath(longPath)) return platform::UniqueModule();
    platform::UniqueModule module(::LoadLibraryExA(longPath.c_str(), nullptr,
                                                   LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
    // Systems without the search flags refuse them as an invalid parameter;
    // the altered search path then puts the module's folder first.
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER)
        module.reset(::LoadLibraryExA(longPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    return module;
}

}  // namespace remover
