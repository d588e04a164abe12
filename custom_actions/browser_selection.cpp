#include "custom_actions/browser_selection.h"

#include <string>

#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_identification.h"

namespace custom_actions {
namespace {

using custom_actions_core::kBrowserCommandCapacity;

std::wstring UnquotedPath(const wchar_t* text) {
    return std::wstring(custom_actions_core::StripQuotes(
        std::wstring_view(text, custom_actions_core::BoundedLength(text, kBrowserCommandCapacity))));
}

}  // namespace

std::optional<custom_actions_core::BrowserCommandProperties> ChooseBrowserCommand(const wchar_t* candidate,
                                                                                  InstallScope scope) {
    custom_actions_core::BrowserSelection selection;
    const custom_actions_core::BrowserKind kind = IdentifyBrowser(scope, candidate);
    if (kind != custom_actions_core::kNotRecognised) {
        selection.path = UnquotedPath(candidate);
        selection.internetExplorer = kind == custom_actions_core::kInternetExplorer;
    } else {
        wchar_t internetExplorer[kBrowserCommandCapacity];
        if (!ReadInternetExplorerPath(internetExplorer, kBrowserCommandCapacity, scope)) return std::nullopt;
        selection.path = UnquotedPath(internetExplorer);
        selection.internetExplorer = true;
    }

    selection.alternative = scope == InstallScope::kPerMachine && IsUnderUserAppData(selection.path.c_str());
    if (selection.alternative) {
        wchar_t internetExplorerCommand[kBrowserCommandCapacity];
        if (ReadInternetExplorerPath(internetExplorerCommand, kBrowserCommandCapacity, scope))
            selection.internetExplorerCommand = std::wstring(internetExplorerCommand);
    }
    return custom_actions_core::ComposeBrowserCommandProperties(selection);
}

}  // namespace custom_actions
