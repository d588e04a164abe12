// The browser actions of the installation package: the list of browsers for
// the user to choose from, the chosen browser's command line, and the default
// browser's command with the Netscape-family plug-in folders.
#include <string>

#include "custom_actions/actions.h"
#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_plugin_folders.h"
#include "custom_actions/browser_publish.h"
#include "custom_actions/core/browser_command.h"
#include "custom_actions/installer_session.h"

namespace {

using custom_actions_core::kBrowserCommandCapacity;

// Browser keys below "Software\" whose plug-in folders are used, in order of
// preference: Firefox first, the Mozilla suite only without it.
constexpr const wchar_t* kNetscapeFamilyKeys[] = {L"Mozilla\\Mozilla Firefox", L"mozilla.org\\Mozilla"};

}  // namespace

extern "C" UINT __stdcall EnumerateBrowsers(MSIHANDLE session) {
    return RunAction([&] {
        const CollectedBrowsers browsers = CollectBrowsers(session);
        for (const auto& property : custom_actions_core::BrowserListProperties(browsers.list, browsers.hostKind))
            WriteProperty(session, property.name.c_str(), property.value.c_str());
    });
}

extern "C" UINT __stdcall SelectBrowser(MSIHANDLE session) {
    return RunAction([&] {
        const bool perMachine = IsAllUsersInstall(session);
        wchar_t buffer[kBrowserCommandCapacity];
        if (ReadProperty(session, L"BrwID", buffer, kBrowserCommandCapacity) != ERROR_SUCCESS || buffer[0] == L'\0')
            return;
        const std::wstring clientId(buffer);
        if (ResolveBrowserExecutable(buffer, perMachine, clientId.c_str(), kBrowserCommandCapacity))
            PublishBrowserCommand(buffer, session);
    });
}

extern "C" UINT __stdcall DetectBrowsers(MSIHANDLE session) {
    // The plug-in folders are published even when the browser command fails.
    RunStep([&] {
        wchar_t buffer[kBrowserCommandCapacity];
        if (ReadProperty(session, L"BROWSER_CMD", buffer, kBrowserCommandCapacity) != ERROR_SUCCESS ||
            buffer[0] == L'\0') {
            // Whatever the search leaves, an associated executable included, is offered.
            LocateDefaultBrowser(buffer, IsAllUsersInstall(session), kBrowserCommandCapacity);
            PublishBrowserCommand(buffer, session);
        }
    });
    return RunAction([&] {
        for (const wchar_t* key : kNetscapeFamilyKeys)
            if (LocateNetscapePluginFolders(key, session)) break;
    });
}
