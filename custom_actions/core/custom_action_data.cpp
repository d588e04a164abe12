#include "custom_actions/core/custom_action_data.h"

namespace custom_actions_core {

std::optional<FileTypeRequest> ParseCustomActionData(std::wstring_view value) {
    if (value.size() < 4 || value[1] != L':' || value[3] != L':') return std::nullopt;
    FileTypeRequest request;
    request.registerTypes = value[0] == L'1';
    request.withDde = value[2] == L'1';
    request.command.assign(value.substr(4));
    return request;
}

}  // namespace custom_actions_core
