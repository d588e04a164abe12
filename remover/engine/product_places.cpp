#include "remover/engine/product_places.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/registry_key.h"
#include "remover/engine/registry_paths.h"
#include "remover/engine/shell_folder.h"

namespace remover {

bool GetProductFolder(bool fromRegistry, std::string& out) {
    std::string base;
    return GetProductFolderAndBase(fromRegistry, base, out);
}

bool GetProductFolderAndBase(bool fromRegistry, std::string& base, std::string& out) {
    if (fromRegistry ? !ReadCurrentVersionFolder(kCommonFilesValue, base) : !GetShellFolder(CSIDL_APPDATA, base))
        return false;
    out = base + product::kProductSubfolder;
    return true;
}

bool ReadCurrentVersionFolder(const char* valueName, std::string& out) {
    platform::RegistryKeyA key;
    return key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ) == ERROR_SUCCESS &&
           key.ReadText(valueName, out) == ERROR_SUCCESS;
}

}  // namespace remover
