#include "remover/engine/module_loading.h"

#include <windows.h>

#include "remover/engine/elevation.h"
#include "remover/engine/user_places.h"

namespace remover {
namespace {

bool IsFullPath(const std::string& path) {
    const bool driveRooted = path.size() > 2 && path[1] == ':' && path[2] == '\\';
    const bool unc = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    return driveRooted || unc;
}

}  // namespace

bool MayLoadComponentModule(const std::string& longPath) {
    return !(IsProcessElevated() && LiesInUserProfile(longPath));
}

platform::UniqueModule LoadComponentModule(const std::string& longPath) {
    if (!IsFullPath(longPath)) return platform::UniqueModule();
    platform::UniqueModule module(::LoadLibraryExA(longPath.c_str(), nullptr,
                                                   LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
    // Systems without the search flags refuse them as an invalid parameter;
    // the altered search path then puts the module's folder first.
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER)
        module.reset(::LoadLibraryExA(longPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    return module;
}

}  // namespace remover
