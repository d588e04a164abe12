// RegisterFileExtension's "register:dde:command" value, and the icon value
// composed from the engine's path.
#include <cstdlib>

#include "custom_actions/core/custom_action_data.h"
#include "custom_actions/core/default_icon.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring value = fuzz::Wide(data, size);
    const auto icon = custom_actions_core::ComposeDefaultIcon(value);
    if (icon && (icon->size() + 1 > custom_actions_core::kIconValueCapacity || *icon != value + L",0")) std::abort();
    if (!icon && value.size() + 3 <= custom_actions_core::kIconValueCapacity) std::abort();

    const auto request = custom_actions_core::ParseCustomActionData(value);
    if (!request) return 0;
    if (value.size() < 4 || value[1] != L':' || value[3] != L':') std::abort();
    if (request->command != value.substr(4)) std::abort();
    if (request->registerTypes != (value[0] == L'1') || request->withDde != (value[2] == L'1')) std::abort();
    return 0;
}
