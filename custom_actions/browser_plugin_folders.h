#pragma once
// The plug-in folders of Firefox or the Mozilla suite.
#include <optional>

#include "custom_actions/core/browser_paths.h"

namespace custom_actions {

// The plug-in and component folders of the browser registered machine-wide
// under "Software\<browserKey>"; nothing when its install folder is not
// registered or the folders do not fit.
std::optional<custom_actions_core::PluginFolders> LocateNetscapePluginFolders(const wchar_t* browserKey);

}  // namespace custom_actions
