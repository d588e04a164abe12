#include "remover/engine/shared_dll_sweep.h"

#include <string>
#include <vector>

#include "platform/registry_key.h"
#include "remover/core/shared_dll_name.h"
#include "remover/engine/product_places.h"
#include "remover/engine/registry_paths.h"

namespace remover {
namespace {

constexpr DWORD kNameChars = MAX_PATH;

// Names of the values inside either product folder, in enumeration order.
std::vector<std::string> CollectProductEntries(HKEY sharedDlls, const std::string& common,
                                               const std::string& appData) {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[kNameChars];
        DWORD length = kNameChars;
        const LONG status =
            ::RegEnumValueA(sharedDlls, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        // A name too long for the buffer names no file the remover can handle;
        // it must not hide the entries after it.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        const std::string_view entry(name, length);
        if (remover_core::IsInsideFolder(entry, common) || remover_core::IsInsideFolder(entry, appData))
            names.emplace_back(entry);
    }
    return names;
}

}  // namespace

void SweepSharedDllEntries(HKEY hive) {
    std::string common;
    std::string appData;
    if (!GetProductFolder(true, common) || !GetProductFolder(false, appData)) return;
    platform::RegistryKeyA key;
    if (key.Open(hive, kSharedDllsKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    // Deleting while enumerating would shift the indices under the scan.
    for (const std::string& name : CollectProductEntries(key.get(), common, appData))
        ::RegDeleteValueA(key.get(), name.c_str());
}

}  // namespace remover
