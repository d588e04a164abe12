#include "custom_actions/browser_plugin_folders.h"

#include <windows.h>

#include <string>

#include "custom_actions/core/browser_paths.h"
#include "platform/registry_key.h"

using platform::RegistryKey;

namespace custom_actions {
namespace {

using custom_actions_core::kDiscoveryPathCapacity;

}  // namespace

std::optional<custom_actions_core::PluginFolders> LocateNetscapePluginFolders(const wchar_t* browserKey) {
    const std::wstring keyPath = std::wstring(L"Software\\") + browserKey;
    if (keyPath.size() >= kDiscoveryPathCapacity) return std::nullopt;

    // The plug-in folders are shared by every user: machine-wide only.
    RegistryKey browser;
    if (browser.Open(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_READ) != ERROR_SUCCESS) return std::nullopt;
    wchar_t version[kDiscoveryPathCapacity];
    DWORD count = kDiscoveryPathCapacity;
    if (browser.ReadStringValue(L"CurrentVersion", version, count) != ERROR_SUCCESS) return std::nullopt;

    RegistryKey main;
    if (main.Open(browser.get(), (std::wstring(version) + L"\\Main").c_str(), KEY_READ) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t folder[kDiscoveryPathCapacity];
    count = kDiscoveryPathCapacity;
    if (main.ReadStringValue(L"Install Directory", folder, count) != ERROR_SUCCESS) return std::nullopt;

    return custom_actions_core::ComposePluginFolders(folder);
}

}  // namespace custom_actions
