#include "remover/engine/removal.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/unique_resource.h"
#include "remover/engine/browser_plugins.h"
#include "remover/engine/class_registration.h"
#include "remover/engine/component_table.h"
#include "remover/engine/file_type_cleanup.h"
#include "remover/engine/key_tree.h"
#include "remover/engine/module_file.h"
#include "remover/engine/product_folders.h"
#include "remover/engine/product_key.h"
#include "remover/engine/registry_sweeps.h"
#include "remover/engine/registry_text.h"

namespace remover {
namespace {

constexpr REGSAM kChangeAccess = KEY_READ | KEY_WRITE;

bool IsKept(const GUID& classId, const std::vector<GUID>& keepList) {
    return std::any_of(keepList.begin(), keepList.end(), [&](const GUID& kept) {
        return std::memcmp(&kept, &classId, sizeof(GUID)) == 0;
    });
}

void RemoveModuleNamedInProductKey(HKEY productKey, const ComponentRow& row) {
    if (!row.moduleSubkey || !*row.moduleSubkey) return;
    platform::UniqueKey subkey;
    if (::RegOpenKeyExA(productKey, row.moduleSubkey, 0, kChangeAccess, subkey.put()) != ERROR_SUCCESS)
        return;
    std::string path;
    if (ReadRegistryText(subkey.get(), row.moduleValueName, path)) RemoveModuleFile(path.c_str());
}

void RemoveClassRegistration(HKEY classKey, const GUID& classId) {
    std::string path;
    // Without a readable server path the registration stays, as it always has.
    if (!GetInprocServerPath(classId, path)) return;
    RemoveModuleFile(path.c_str());
    DeleteKeyTree(classKey, GuidToText(classId).c_str());
}

void RemoveComponent(HKEY productKey, HKEY classKey, const ComponentRow& row,
                     const std::vector<GUID>& keepList, bool& removeFolders) {
    if (row.classId && IsKept(*row.classId, keepList)) {
        // A kept component whose module is still there needs its folders.
        if (removeFolders && IsModulePresent(*row.classId)) removeFolders = false;
        return;
    }
    RemoveModuleNamedInProductKey(productKey, row);
    if (row.classId) RemoveClassRegistration(classKey, *row.classId);
}

void RemoveDocumentationFolder(HKEY productKey) {
    platform::UniqueKey help;
    if (::RegOpenKeyExA(productKey, "Help", 0, kChangeAccess, help.put()) != ERROR_SUCCESS) return;
    std::string guide;
    if (!ReadRegistryText(help.get(), "User's Guide", guide)) return;
    const size_t slash = guide.rfind('\\');
    // A bare file name has no folder: never hand an empty path to the walk.
    if (slash == std::string::npos || slash == 0) return;
    DeleteFolderTree(guide.substr(0, slash));
}

void DeleteProductKey(const std::string& productKeyPath) {
    const std::string parentPath = ParentKeyPath(productKeyPath);
    if (parentPath.empty()) return;
    platform::UniqueKey parent;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, parentPath.c_str(), 0, kChangeAccess, parent.put()) !=
        ERROR_SUCCESS)
        return;
    DeleteKeyTree(parent.get(), LastKeyComponent(productKeyPath).c_str());
}

}  // namespace

void RunRemoval(bool silent, bool removeFolders, const std::vector<GUID>& keepList) {
    SweepSharedDllEntries(HKEY_CURRENT_USER);
    SweepSharedDllEntries(HKEY_LOCAL_MACHINE);
    RunOldUninstallers(HKEY_CURRENT_USER, silent);
    RunOldUninstallers(HKEY_LOCAL_MACHINE, silent);
    RemoveDistributionUnits();

    const std::string productKeyPath = LoadProductKeyPath();
    // When the class key does not open, each class deletion below fails quietly.
    platform::UniqueKey classKey;
    ::RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, kChangeAccess, classKey.put());
    {
        platform::UniqueKey productKey;
        if (!productKeyPath.empty() &&
            ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, productKeyPath.c_str(), 0, kChangeAccess,
                            productKey.put()) == ERROR_SUCCESS) {
            for (const ComponentRow& row : kComponentTable)
                RemoveComponent(productKey.get(), classKey.get(), row, keepList, removeFolders);
            RemoveDocumentationFolder(productKey.get());
        }
    }
    RemoveRenderKey();
    if (removeFolders) RemoveProductFolders();
    CleanBrowserPlugins();
    RemoveFileTypeRegistration(keepList);
    DeleteProductKey(productKeyPath);
}

}  // namespace remover
