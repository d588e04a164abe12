#pragma once
// Where a Netscape-family browser is installed, as its own keys record it; the
// installer's plug-in folders and the remover's plug-in cleanup read it alike.
#include <windows.h>

#include <string>

#include "platform/registry_key.h"

namespace platform {

// HKEY_LOCAL_MACHINE\Software\<browserKey>: its "CurrentVersion", then the
// "Install Directory" of that version's "Main" subkey, both read under rule.
// out is left unchanged when a key or value is missing or does not fit.
template <class Char>
bool ReadBrowserInstallDirectory(const Char* browserKey, TextRule rule, std::basic_string<Char>& out);

}  // namespace platform
