#pragma once
// The VRML file types and content types of the current user.
#include <string>

namespace custom_actions {

// Whether the file type's open verb also answers by DDE (Internet Explorer's
// WWW_OpenURL topic).
enum class DdeVerb { kWithout, kWith };

// Deletes the product's per-user file types, extension keys and content-type
// keys under HKCU\Software\Classes.
void RemoveFileTypes();

// Deletes them as RemoveFileTypes does, then writes them afresh with command
// as the open verb.
void RegisterFileTypes(const std::wstring& command, DdeVerb dde);

}  // namespace custom_actions
