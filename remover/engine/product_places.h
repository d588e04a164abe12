#pragma once
// Where the product's folders lie on this machine: read by the folder walk
// and by the run's places alike.
#include <string>

#include "platform/product_constants.h"

namespace remover {

// The product's folder below Program Files.
using product::kClientSubfolder;

// The product folder below Common Files (fromRegistry) or below the user's
// Application Data folder, without a trailing backslash.
bool GetProductFolder(bool fromRegistry, std::string& out);

// The same, and the folder it is built from.
bool GetProductFolderAndBase(bool fromRegistry, std::string& base, std::string& out);

// One of Windows' own folders as HKLM's CurrentVersion key (this program's
// view) names it (kProgramFilesValue, kCommonFilesValue in registry_paths.h).
bool ReadCurrentVersionFolder(const char* valueName, std::string& out);

}  // namespace remover
