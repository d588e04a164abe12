#include "custom_actions/browser_publish.h"

#include <string>

#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_identification.h"
#include "custom_actions/core/browser_command.h"
#include "custom_actions/installer_session.h"

namespace {

using custom_actions_core::kBrowserCommandCapacity;

}  // namespace

void PublishBrowserCommand(wchar_t* buffer, MSIHANDLE session) {
    const bool perMachine = IsAllUsersInstall(session);
    custom_actions_core::BrowserKind kind = IdentifyBrowser(perMachine, buffer);
    if (kind == custom_actions_core::kNotRecognised) {
        if (!ReadInternetExplorerPath(buffer, kBrowserCommandCapacity)) return;
        kind = custom_actions_core::kInternetExplorer;
    }

    custom_actions_core::BrowserSelection selection;
    selection.path = std::wstring(custom_actions_core::StripQuotes(
        std::wstring_view(buffer, custom_actions_core::BoundedLength(buffer, kBrowserCommandCapacity))));
    selection.internetExplorer = kind == custom_actions_core::kInternetExplorer;
    selection.alternative = perMachine && IsUnderUserAppData(selection.path.c_str());
    if (selection.alternative && ReadInternetExplorerPath(buffer, kBrowserCommandCapacity))
        selection.internetExplorerCommand = std::wstring(buffer);

    const auto properties = custom_actions_core::ComposeBrowserCommandProperties(selection);
    if (!properties) return;
    WriteProperty(session, L"BROWSER_PATH", properties->browserPath.c_str());
    WriteProperty(session, L"ALT_BROWSER_IE", properties->altBrowserIe.c_str());
    WriteProperty(session, L"ALT_BROWSER_CMD", properties->altBrowserCmd.c_str());
    WriteProperty(session, L"BROWSER_IE", properties->browserIe.c_str());
    WriteProperty(session, L"BROWSER_CMD", properties->browserCmd.c_str());
    WriteProperty(session, L"ALT_BROWSER", properties->altBrowser.c_str());
}
