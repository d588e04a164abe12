#include <string>

#include "platform/unique_resource.h"
#include "remover/engine/module_file.h"
#include "remover/engine/product_key.h"
#include "remover/engine/registry_sweeps.h"
#include "remover/engine/registry_text.h"

namespace remover {
namespace {

constexpr REGSAM kChangeAccess = KEY_READ | KEY_WRITE;

// Module paths sit in REG_SZ values whose name holds the lower-case "path".
void RemoveNamedModules(HKEY key, DWORD valueCount) {
    for (DWORD index = valueCount; index-- > 0;) {
        char name[MAX_PATH];
        DWORD length = MAX_PATH;
        DWORD type = REG_NONE;
        if (::RegEnumValueA(key, index, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        const std::string valueName(name, length);
        if (type != REG_SZ || valueName.find("path") == std::string::npos) continue;
        std::string module;
        if (ReadRegistryText(key, valueName.c_str(), module)) RemoveModuleFile(module.c_str());
    }
}

}  // namespace

void RemovePathKeyTree(HKEY parent, const char* name) {
    {
        platform::UniqueKey key;
        if (::RegOpenKeyExA(parent, name, 0, kChangeAccess, key.put()) != ERROR_SUCCESS) return;
        DWORD subkeys = 0;
        DWORD values = 0;
        if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            RemoveNamedModules(key.get(), values);
            // From the highest index down, so each deletion leaves the lower
            // indices where they were.
            for (DWORD index = subkeys; index-- > 0;) {
                char child[MAX_PATH] = {};
                DWORD length = MAX_PATH;
                if (::RegEnumKeyExA(key.get(), index, child, &length, nullptr, nullptr, nullptr, nullptr) ==
                    ERROR_SUCCESS)
                    RemovePathKeyTree(key.get(), child);
            }
        }
    }
    ::RegDeleteKeyA(parent, name);
}

void RemoveRenderKey() {
    const std::string productKeyPath = LoadProductKeyPath();
    if (productKeyPath.empty()) return;
    platform::UniqueKey productKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, productKeyPath.c_str(), 0, kChangeAccess, productKey.put()) !=
        ERROR_SUCCESS)
        return;
    RemovePathKeyTree(productKey.get(), "Render");
}

}  // namespace remover
