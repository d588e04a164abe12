#pragma once
// The command line that a registered open command gives for one document.
#include <string>
#include <string_view>

namespace custom_actions_core {

// Each %1 and %L (either case) becomes the document's path, %% one percent
// sign, %* and the other numbered parameters nothing; without %1 or %L the
// quoted document is appended, as the shell does.
std::wstring ComposeOpenCommand(std::wstring_view registered, std::wstring_view document);

}  // namespace custom_actions_core
