#include "remover/engine/removal.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_key.h"
#include "remover/engine/browser_plugins.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/distribution_units.h"
#include "remover/engine/file_type_cleanup.h"
#include "remover/engine/machine_places.h"
#include "remover/engine/module_file.h"
#include "remover/engine/old_uninstallers.h"
#include "remover/engine/product_folders.h"
#include "remover/engine/product_key.h"
#include "remover/engine/render_key.h"
#include "remover/engine/shared_dll_sweep.h"
#include "remover/engine/user_places.h"

namespace remover {
namespace {

bool IsKept(const GUID& classId, const std::vector<GUID>& keepList) {
    return std::any_of(keepList.begin(), keepList.end(), [&](const GUID& kept) {
        return std::memcmp(&kept, &classId, sizeof(GUID)) == 0;
    });
}

void RemoveModuleNamedInProductKey(RemovalContext& context, HKEY productKey, const ComponentRow& row) {
    if (!row.moduleSubkey || !*row.moduleSubkey) return;
    platform::RegistryKeyA subkey;
    if (subkey.Open(productKey, row.moduleSubkey, platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    std::string path;
    if (subkey.ReadText(row.moduleValueName, path) == ERROR_SUCCESS) RemoveModuleFile(context, path.c_str());
}

void RemoveClassRegistration(RemovalContext& context, const GUID& classId) {
    // Without a readable server path the registration stays, as it always has.
    const std::optional<ClassServer> server = ReadInprocServer(classId);
    if (!server) return;
    // In an elevated run, a module that the user's own classes name is the
    // product's only where the user's own files or the product's folders lie:
    // anywhere else it could be another program's file, named to have it
    // unregistered and deleted. (Nothing is loaded from below the profile.)
    const MachinePlaces& places = PlacesOf(context);
    if (!ElevatedRunDistrusts(places, server->fromUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE) ||
        LiesInUserProfile(places, server->path) ||
        LiesInProductFolders(places, server->path))
        RemoveModuleFile(context, server->path.c_str());
    DeleteClassRegistration(classId);
}

void RemoveComponent(RemovalContext& context, HKEY productKey, const ComponentRow& row,
                     const std::vector<GUID>& keepList) {
    if (row.classId && IsKept(*row.classId, keepList)) {
        // A kept component whose module is still there needs its folders.
        if (context.removeFolders && IsModulePresent(*row.classId)) context.removeFolders = false;
        return;
    }
    RemoveModuleNamedInProductKey(context, productKey, row);
    if (row.classId) RemoveClassRegistration(context, *row.classId);
}

void RemoveDocumentationFolder(RemovalContext& context, HKEY productKey) {
    platform::RegistryKeyA help;
    if (help.Open(productKey, "Help", platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    std::string guide;
    if (help.ReadText("User's Guide", guide) != ERROR_SUCCESS) return;
    const size_t slash = guide.rfind('\\');
    // A bare file name has no folder: never hand an empty path to the walk.
    if (slash == std::string::npos || slash == 0) return;
    DeleteFolderTree(context, guide.substr(0, slash));
}

void DeleteProductKey(const std::string& productKeyPath) {
    const std::string parentPath = ParentKeyPath(productKeyPath);
    if (parentPath.empty()) return;
    platform::RegistryKeyA parent;
    if (parent.Open(HKEY_LOCAL_MACHINE, parentPath.c_str(), platform::kReadWriteAccess) != ERROR_SUCCESS) return;
    parent.DeleteKeyTree(LastKeyComponent(productKeyPath).c_str());
}

}  // namespace

void RunRemoval(const RemoverOptions& options, RemovalContext& context) {
    context.removeFolders = options.removeFolders;
    SweepSharedDllEntries(HKEY_CURRENT_USER);
    SweepSharedDllEntries(HKEY_LOCAL_MACHINE);
    RunOldUninstallers(context, HKEY_CURRENT_USER, options.silent);
    RunOldUninstallers(context, HKEY_LOCAL_MACHINE, options.silent);
    RemoveDistributionUnits(context);

    const std::string productKeyPath = LoadProductKeyPath();
    {
        platform::RegistryKeyA productKey;
        if (!productKeyPath.empty() &&
            productKey.Open(HKEY_LOCAL_MACHINE, productKeyPath.c_str(), platform::kReadWriteAccess) ==
                ERROR_SUCCESS) {
            for (const ComponentRow& row : kComponentTable)
                RemoveComponent(context, productKey.get(), row, options.keepList);
            RemoveDocumentationFolder(context, productKey.get());
        }
    }
    RemoveRenderKey(context);
    if (context.removeFolders) RemoveProductFolders(context);
    CleanBrowserPlugins(context);
    RemoveFileTypeRegistration(options.keepList);
    DeleteProductKey(productKeyPath);
}

}  // namespace remover
