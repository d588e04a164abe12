#pragma once
// The browser that the installation names: the chosen one when it is a known
// browser that suits the installation, otherwise Internet Explorer.
#include <optional>

#include "custom_actions/core/browser_command.h"
#include "custom_actions/install_scope.h"

namespace custom_actions {

// candidate: an executable path or a quoted command, terminated within
// kBrowserCommandCapacity characters. The six command properties for it, or
// nothing when neither it nor Internet Explorer can be identified or no
// command fits.
std::optional<custom_actions_core::BrowserCommandProperties> ChooseBrowserCommand(const wchar_t* candidate,
                                                                                  InstallScope scope);

}  // namespace custom_actions
