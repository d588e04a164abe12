#include "custom_actions/browser_plugin_folders.h"

#include <windows.h>

#include <string>

#include "custom_actions/core/browser_paths.h"
#include "platform/browser_install.h"

namespace custom_actions {

std::optional<custom_actions_core::PluginFolders> LocateNetscapePluginFolders(const wchar_t* browserKey) {
    // The plug-in folders are shared by every user: machine-wide only.
    std::wstring folder;
    if (!platform::ReadBrowserInstallDirectory(browserKey, platform::TextRule::TerminatedString, folder))
        return std::nullopt;
    return custom_actions_core::ComposePluginFolders(folder);
}

}  // namespace custom_actions
