#pragma once
// Tells which browser family an executable belongs to, from its version
// resource or its file name.
#include <windows.h>

#include "custom_actions/core/browser_kind.h"
#include "custom_actions/install_scope.h"

namespace custom_actions {

// True for an existing file; false for a folder or nothing.
bool IsExistingFile(const wchar_t* path);

// The file's VS_FIXEDFILEINFO; false when it has none.
bool ReadFixedVersion(const wchar_t* path, VS_FIXEDFILEINFO& fixed);

// True when the path lies below the user's roaming or local application data.
bool IsUnderUserAppData(const wchar_t* path);

// The family of the executable at path (no quotes or arguments), or
// kNotRecognised when it is unknown or does not suit the installation.
custom_actions_core::BrowserKind IdentifyBrowser(InstallScope scope, const wchar_t* path);

}  // namespace custom_actions
