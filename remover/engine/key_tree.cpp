#include "remover/engine/key_tree.h"

#include "platform/registry_link.h"
#include "platform/unique_resource.h"

namespace remover {

LONG DeleteKeyTree(HKEY parent, const char* name) {
    // An empty name would open the parent itself and empty it.
    if (!name || !*name) return ERROR_INVALID_PARAMETER;
    {
        platform::UniqueKey key;
        const LONG opened = ::RegOpenKeyExA(parent, name, platform::kOpenLinkOption, KEY_READ | KEY_WRITE, key.put());
        if (opened != ERROR_SUCCESS) return opened;
        if (platform::IsRegistryLink(key.get())) {
            platform::UniqueKey link;
            const LONG status = ::RegOpenKeyExA(parent, name, platform::kOpenLinkOption, DELETE, link.put());
            return status == ERROR_SUCCESS ? platform::DeleteHeldKey(link.get()) : status;
        }
        for (;;) {
            // Each deleted child shifts the rest down, so index 0 is read again.
            char child[256] = {};
            DWORD length = sizeof(child);
            if (::RegEnumKeyExA(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            const LONG status = DeleteKeyTree(key.get(), child);
            if (status != ERROR_SUCCESS) return status;
        }
    }
    return ::RegDeleteKeyA(parent, name);
}

}  // namespace remover
