#include "custom_actions/browser_plugin_folders.h"

#include <string>

#include "custom_actions/core/browser_paths.h"
#include "custom_actions/installer_session.h"
#include "platform/registry_key.h"

using platform::RegistryKey;

namespace {

using custom_actions_core::kDiscoveryPathCapacity;

}  // namespace

bool LocateNetscapePluginFolders(const wchar_t* browserKey, MSIHANDLE session) {
    const std::wstring keyPath = std::wstring(L"Software\\") + browserKey;
    if (keyPath.size() >= kDiscoveryPathCapacity) return false;

    // The plug-in folders are shared by every user: machine-wide only.
    RegistryKey browser;
    if (browser.Open(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_READ) != ERROR_SUCCESS) return false;
    wchar_t version[kDiscoveryPathCapacity];
    DWORD count = kDiscoveryPathCapacity;
    if (browser.ReadStringValue(L"CurrentVersion", version, count) != ERROR_SUCCESS) return false;

    RegistryKey main;
    if (main.Open(browser.get(), (std::wstring(version) + L"\\Main").c_str(), KEY_READ) != ERROR_SUCCESS)
        return false;
    wchar_t folder[kDiscoveryPathCapacity];
    count = kDiscoveryPathCapacity;
    if (main.ReadStringValue(L"Install Directory", folder, count) != ERROR_SUCCESS) return false;

    const auto folders = custom_actions_core::ComposePluginFolders(folder);
    if (!folders) return false;
    WriteProperty(session, L"NSPLUGIN_DIR", folders->plugins.c_str());
    WriteProperty(session, L"NSCOMP_DIR", folders->components.c_str());
    WriteProperty(session, L"INSTALL_NSPLUGIN", L"1");
    return true;
}
