#include "platform/string_resource.h"

#include <vector>

namespace platform {
namespace {
HINSTANCE g_resourceModule = nullptr;
}

std::string LoadStringResourceA(HINSTANCE module, UINT id) {
    for (int capacity = 256; capacity <= 65536; capacity *= 2) {
        std::vector<char> buffer(static_cast<size_t>(capacity), '\0');
        const int length = ::LoadStringA(module, id, buffer.data(), capacity);
        if (length <= 0) return std::string();
        // A text that fills the buffer may have been cut: try a larger one.
        if (length < capacity - 1) return std::string(buffer.data(), static_cast<size_t>(length));
    }
    return std::string();
}

HINSTANCE ResourceModule() noexcept {
    return g_resourceModule ? g_resourceModule : ::GetModuleHandleA(nullptr);
}

void SetResourceModule(HINSTANCE module) noexcept { g_resourceModule = module; }

}  // namespace platform
