#include "remover/engine/render_key.h"

#include <string>

#include "platform/registry_key.h"
#include "platform/registry_link.h"
#include "remover/engine/module_file.h"

namespace remover {
namespace {

// Module paths sit in REG_SZ values whose name holds the lower-case "path".
void RemoveNamedModules(RemovalContext& context, const platform::RegistryKeyA& key) {
    const auto values = key.Values();
    for (auto value = values.rbegin(); value != values.rend(); ++value) {
        if (value->type != REG_SZ || value->name.find("path") == std::string::npos) continue;
        std::string module;
        if (key.ReadText(value->name.c_str(), module) == ERROR_SUCCESS) RemoveModuleFile(context, module.c_str());
    }
}

}  // namespace

void RemovePathKeyTree(RemovalContext& context, const platform::RegistryKeyA& parent, const char* name) {
    {
        // A link is deleted as a link: nothing it points at is read or removed.
        platform::RegistryKeyA key;
        if (key.Open(parent.get(), name, platform::kReadWriteAccess, platform::kOpenLinkOption) != ERROR_SUCCESS)
            return;
        if (!platform::IsRegistryLink(key.get())) {
            RemoveNamedModules(context, key);
            const auto children = key.SubkeyNames();
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                RemovePathKeyTree(context, key, child->c_str());
        }
    }
    parent.DeleteKeyTree(name);
}

void RemoveRenderKey(RemovalContext& context, const std::string& productKeyPath) {
    if (productKeyPath.empty()) return;
    platform::RegistryKeyA productKey;
    if (productKey.Open(HKEY_LOCAL_MACHINE, productKeyPath.c_str(), platform::kReadWriteAccess) != ERROR_SUCCESS)
        return;
    RemovePathKeyTree(context, productKey, "Render");
}

}  // namespace remover
