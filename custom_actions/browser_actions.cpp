// The browser actions of the installation package: the list of browsers for
// the user to choose from, the chosen browser's command line, and the default
// browser's command with the Netscape-family plug-in folders.
#include "custom_actions/actions.h"
#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_plugin_folders.h"
#include "custom_actions/browser_selection.h"
#include "custom_actions/core/browser_command.h"
#include "custom_actions/installer_session.h"
#include "platform/product_constants.h"

namespace {

using namespace custom_actions;
using custom_actions_core::kBrowserCommandCapacity;

// Publishes the command properties of the candidate (or of Internet Explorer
// instead), in this order; nothing when there is none.
void PublishBrowserCommand(MSIHANDLE session, const wchar_t* candidate, InstallScope scope) {
    const auto properties = ChooseBrowserCommand(candidate, scope);
    if (!properties) return;
    WriteProperty(session, L"BROWSER_PATH", properties->browserPath.c_str());
    WriteProperty(session, L"ALT_BROWSER_IE", properties->altBrowserIe.c_str());
    WriteProperty(session, L"ALT_BROWSER_CMD", properties->altBrowserCmd.c_str());
    WriteProperty(session, L"BROWSER_IE", properties->browserIe.c_str());
    WriteProperty(session, L"BROWSER_CMD", properties->browserCmd.c_str());
    WriteProperty(session, L"ALT_BROWSER", properties->altBrowser.c_str());
}

}  // namespace

extern "C" UINT __stdcall EnumerateBrowsers(MSIHANDLE session) {
    return RunAction([&] {
        const CollectedBrowsers browsers = CollectBrowsers(ReadInstallScope(session));
        for (const auto& property : custom_actions_core::BrowserListProperties(browsers.list, browsers.hostKind))
            WriteProperty(session, property.name.c_str(), property.value.c_str());
    });
}

extern "C" UINT __stdcall SelectBrowser(MSIHANDLE session) {
    return RunAction([&] {
        const InstallScope scope = ReadInstallScope(session);
        wchar_t clientId[kBrowserPropertyCapacity];
        if (ReadProperty(session, L"BrwID", clientId, kBrowserPropertyCapacity) != ERROR_SUCCESS ||
            clientId[0] == L'\0')
            return;
        wchar_t executable[kBrowserCommandCapacity];
        if (ResolveBrowserExecutable(executable, scope, clientId, kBrowserCommandCapacity))
            PublishBrowserCommand(session, executable, scope);
    });
}

extern "C" UINT __stdcall DetectBrowsers(MSIHANDLE session) {
    // The plug-in folders are published even when the browser command fails.
    RunStep([&] {
        wchar_t chosenCommand[kBrowserPropertyCapacity];
        if (ReadProperty(session, L"BROWSER_CMD", chosenCommand, kBrowserPropertyCapacity) == ERROR_SUCCESS &&
            chosenCommand[0] != L'\0')
            return;
        const InstallScope scope = ReadInstallScope(session);
        // Whatever the search leaves, an associated executable included, is offered.
        wchar_t defaultBrowser[kBrowserCommandCapacity] = L"";
        LocateDefaultBrowser(defaultBrowser, scope, kBrowserCommandCapacity);
        PublishBrowserCommand(session, defaultBrowser, scope);
    });
    return RunAction([&] {
        // The offered browsers in the table's order of preference.
        for (const product::NetscapeBrowser& browser : product::kNetscapeFamily) {
            if (!browser.offered) continue;
            const auto folders = LocateNetscapePluginFolders(browser.keyW);
            if (!folders) continue;
            WriteProperty(session, L"NSPLUGIN_DIR", folders->plugins.c_str());
            WriteProperty(session, L"NSCOMP_DIR", folders->components.c_str());
            WriteProperty(session, L"INSTALL_NSPLUGIN", L"1");
            break;
        }
    });
}
