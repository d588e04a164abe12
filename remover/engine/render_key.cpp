#include "remover/engine/render_key.h"

#include <string>

#include "platform/registry_key.h"
#include "remover/engine/module_file.h"
#include "remover/engine/product_key.h"

namespace remover {
namespace {

// Module paths sit in REG_SZ values whose name holds the lower-case "path".
void RemoveNamedModules(RemovalContext& context, const platform::RegistryKeyA& key, DWORD valueCount) {
    for (DWORD index = valueCount; index-- > 0;) {
        char name[MAX_PATH];
        DWORD length = MAX_PATH;
        DWORD type = REG_NONE;
        if (::RegEnumValueA(key.get(), index, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        const std::string valueName(name, length);
        if (type != REG_SZ || valueName.find("path") == std::string::npos) continue;
        std::string module;
        if (key.ReadText(valueName.c_str(), module) == ERROR_SUCCESS) RemoveModuleFile(context, module.c_str());
    }
}

}  // namespace

void RemovePathKeyTree(RemovalContext& context, HKEY parent, const char* name) {
    {
        platform::RegistryKeyA key;
        if (key.Open(parent, name, platform::kReadWriteAccess) != ERROR_SUCCESS) return;
        DWORD subkeys = 0;
        DWORD values = 0;
        if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            RemoveNamedModules(context, key, values);
            // From the highest index down, so each deletion leaves the lower
            // indices where they were.
            for (DWORD index = subkeys; index-- > 0;) {
                char child[MAX_PATH] = {};
                DWORD length = MAX_PATH;
                if (::RegEnumKeyExA(key.get(), index, child, &length, nullptr, nullptr, nullptr, nullptr) ==
                    ERROR_SUCCESS)
                    RemovePathKeyTree(context, key.get(), child);
            }
        }
    }
    ::RegDeleteKeyA(parent, name);
}

void RemoveRenderKey(RemovalContext& context) {
    const std::string productKeyPath = LoadProductKeyPath();
    if (productKeyPath.empty()) return;
    platform::RegistryKeyA productKey;
    if (productKey.Open(HKEY_LOCAL_MACHINE, productKeyPath.c_str(), platform::kReadWriteAccess) != ERROR_SUCCESS)
        return;
    RemovePathKeyTree(context, productKey.get(), "Render");
}

}  // namespace remover
