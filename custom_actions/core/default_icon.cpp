#include "custom_actions/core/default_icon.h"

namespace custom_actions_core {

std::optional<std::wstring> ComposeDefaultIcon(std::wstring_view modulePath) {
    constexpr std::wstring_view kIconIndex = L",0";
    if (modulePath.size() + kIconIndex.size() + 1 > kIconValueCapacity) return std::nullopt;
    std::wstring value(modulePath);
    value += kIconIndex;
    return value;
}

}  // namespace custom_actions_core
