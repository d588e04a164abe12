#pragma once
// Publishes a browser's executable and command line to the installer.
#include <windows.h>
#include <msi.h>

// buffer (kBrowserCommandCapacity characters) holds an executable path or a
// quoted command; it is used as work space. Writes BROWSER_PATH, ALT_BROWSER_IE,
// ALT_BROWSER_CMD, BROWSER_IE, BROWSER_CMD and ALT_BROWSER, in this order, or
// nothing when neither that browser nor Internet Explorer can be identified.
void PublishBrowserCommand(wchar_t* buffer, MSIHANDLE session);
