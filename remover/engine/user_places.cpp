#include "remover/engine/user_places.h"

#include <vector>

#include "remover/core/folder_refusal.h"
#include "remover/core/shared_dll_name.h"
#include "remover/engine/file_link.h"

namespace remover {
namespace {

bool InsideAny(const std::string& path, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
        if (remover_core::IsInsideFolder(path, folder)) return true;
    return false;
}

}  // namespace

bool ElevatedRunDistrusts(const MachinePlaces& places, const std::string& path) {
    return places.elevated && LiesInUserProfile(places, path);
}

bool ElevatedRunDistrusts(const MachinePlaces& places, HKEY hive) {
    return places.elevated && hive == HKEY_CURRENT_USER;
}

bool ElevatedRunDistrustsAtRestart(const MachinePlaces& places, const std::string& path) {
    return places.elevated && !LiesInAdminOnlyProductFolders(places, path);
}

bool LiesInUserProfile(const MachinePlaces& places, const std::string& path) {
    if (InsideAny(path, places.userFolders)) return true;
    std::string resolved;
    return ReadFinalPath(path, resolved) && InsideAny(resolved, places.userFolders);
}

bool LiesInMakersProgramFolders(const MachinePlaces& places, const std::string& finalPath) {
    return InsideAny(finalPath, places.makersFolders);
}

bool LiesInProductFolders(const MachinePlaces& places, const std::string& path) {
    std::string resolved;
    return ReadFinalPath(path, resolved) && InsideAny(resolved, places.productFolders);
}

bool LiesInAdminOnlyProductFolders(const MachinePlaces& places, const std::string& path) {
    // The folder itself counts too: it is scheduled after its files.
    std::string resolved;
    return remover_core::IsPlainFullPath(path) && InsideAny(path + "\\", places.adminProductFolders) &&
           ReadFinalPath(path, resolved) && InsideAny(resolved + "\\", places.adminProductFolders);
}

}  // namespace remover
