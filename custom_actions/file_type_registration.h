#pragma once
// The VRML file types and content types of the current user.
#include <windows.h>

// Deletes the product's per-user file types, extension keys and content-type
// keys under HKCU\Software\Classes; when registerTypes, writes them afresh with
// command as the open verb (required then) and, when withDde, the DDE verb.
void RegisterFileTypes(bool registerTypes, bool withDde, const wchar_t* command);
