#pragma once
// The file type's "DefaultIcon" value: the engine module's path and icon index 0.
#include <optional>
#include <string>
#include <string_view>

namespace custom_actions_core {

// Characters, terminator included, that the icon value may take.
constexpr std::size_t kIconValueCapacity = 260;

// modulePath followed by ",0"; nothing when that does not fit the capacity,
// so a cut path is never registered as the icon.
std::optional<std::wstring> ComposeDefaultIcon(std::wstring_view modulePath);

}  // namespace custom_actions_core
