#pragma once
// The custom actions that the installation package calls by export name.
// Every one returns 0 on every path: none may fail an installation or removal.
#include <windows.h>
#include <msi.h>

extern "C" {
UINT __stdcall DetectBrowsers(MSIHANDLE session);
UINT __stdcall EnumerateBrowsers(MSIHANDLE session);
UINT __stdcall InstallFinalize(MSIHANDLE session);
UINT __stdcall MakeOperaHappy(MSIHANDLE session);
UINT __stdcall RegisterFileExtension(MSIHANDLE session);
UINT __stdcall SelectBrowser(MSIHANDLE session);
UINT __stdcall ShowReadme(MSIHANDLE session);
UINT __stdcall ShowScene(MSIHANDLE session);
UINT __stdcall UninstallFinalize(MSIHANDLE session);
}
