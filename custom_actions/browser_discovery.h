#pragma once
// Finds the installed browsers: their registrations, their executables and
// the user's default browser. Only reads; writes nothing but the caller's
// buffers, and never beyond their size (in characters).
#include <windows.h>

#include "custom_actions/core/browser_list.h"
#include "custom_actions/install_scope.h"

namespace custom_actions {

// Expands environment references in place when the expansion fits the buffer.
void ExpandInPlace(wchar_t* buffer, DWORD size);

// Internet Explorer's registered automation server, as registered (quotes and
// arguments kept), expanded. A per-machine installation reads the machine's
// own classes: HKEY_CLASSES_ROOT merges the user's over them.
bool ReadInternetExplorerPath(wchar_t* buffer, DWORD size, InstallScope scope);

// The "open" command that HKLM\Software\Classes registers for a protocol, a
// class or an extension (through the class it names), as registered and
// expanded; false, with an empty buffer, when there is none.
bool ReadMachineOpenCommand(const wchar_t* association, wchar_t* buffer, DWORD size);

// Chrome's executable from its per-user uninstall entry, when the file exists.
bool ReadChromePath(wchar_t* buffer, DWORD size);

// The executable of the browser named by clientId, which must not live in
// buffer. A per-machine installation looks at the machine-wide registrations
// only.
bool ResolveBrowserExecutable(wchar_t* buffer, InstallScope scope, const wchar_t* clientId, DWORD size);

// The default browser's executable. On false the buffer may still hold an
// executable that the shell associates with web pages, or be empty.
bool LocateDefaultBrowser(wchar_t* buffer, InstallScope scope, DWORD size);

struct CollectedBrowsers {
    custom_actions_core::BrowserList list;  // sorted by display name, one per kind
    custom_actions_core::BrowserKind hostKind = custom_actions_core::kInternetExplorer;
};

// Every browser that suits an installation of this scope, and the default
// browser's kind.
CollectedBrowsers CollectBrowsers(InstallScope scope);

}  // namespace custom_actions
