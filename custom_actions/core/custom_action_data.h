#pragma once
// The "register:dde:command" value that RegisterFileExtension receives.
#include <optional>
#include <string>
#include <string_view>

namespace custom_actions_core {

struct FileTypeRequest {
    bool registerTypes = false;  // "1" registers; anything else removes only
    bool withDde = false;        // "1" adds the DDE open verb
    std::wstring command;        // the open command, verbatim
};

// Nothing when the value is shorter than four characters or lacks either colon.
std::optional<FileTypeRequest> ParseCustomActionData(std::wstring_view value);

}  // namespace custom_actions_core
