#include "remover/engine/shared_dll_sweep.h"

#include <string>
#include <vector>

#include "platform/registry_key.h"
#include "remover/core/shared_dll_name.h"
#include "remover/engine/product_places.h"
#include "remover/engine/registry_paths.h"

namespace remover {
namespace {

// Names of the values inside either product folder, in enumeration order.
std::vector<std::string> CollectProductEntries(const platform::RegistryKeyA& sharedDlls, const std::string& common,
                                               const std::string& appData) {
    std::vector<std::string> names;
    for (auto& value : sharedDlls.Values())
        if (remover_core::IsInsideFolder(value.name, common) || remover_core::IsInsideFolder(value.name, appData))
            names.push_back(std::move(value.name));
    return names;
}

}  // namespace

void SweepSharedDllEntries(HKEY hive) {
    std::string common;
    std::string appData;
    if (!GetProductFolder(true, common) || !GetProductFolder(false, appData)) return;
    platform::RegistryKeyA key;
    if (key.Open(hive, kSharedDllsKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    for (const std::string& name : CollectProductEntries(key, common, appData)) key.DeleteValue(name.c_str());
}

}  // namespace remover
