#pragma once
// The plug-in folders of Firefox or the Mozilla suite.
#include <windows.h>
#include <msi.h>

// Publishes NSPLUGIN_DIR, NSCOMP_DIR and INSTALL_NSPLUGIN for the browser
// registered machine-wide under "Software\<browserKey>"; false, with nothing
// written, when its install folder is not registered.
bool LocateNetscapePluginFolders(const wchar_t* browserKey, MSIHANDLE session);
