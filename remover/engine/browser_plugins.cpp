#include "remover/engine/browser_plugins.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/browser_install.h"
#include "platform/product_constants.h"
#include "platform/registry_key.h"
#include "remover/core/plugin_paths.h"
#include "remover/engine/module_file.h"

namespace remover {
namespace {

constexpr char kOperaKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
constexpr char kMozillaPluginsKey[] = "SOFTWARE\\MozillaPlugins";
constexpr char kMozillaPluginId[] = MERIDEL_MOZILLA_PLUGIN_ID;

bool ReadValue(HKEY root, const std::string& path, REGSAM access, const char* valueName, std::string& out) {
    platform::RegistryKeyA key;
    return key.Open(root, path.c_str(), access) == ERROR_SUCCESS && key.ReadText(valueName, out) == ERROR_SUCCESS;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveFiles(RemovalContext& context, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) RemoveModuleFile(context, path.c_str());
}

// A browser without a readable install folder is passed over; the others,
// Opera and the plug-in entry are still cleaned.
void CleanNetscapeFamily(RemovalContext& context) {
    for (const product::NetscapeBrowser& browser : product::kNetscapeFamily) {
        std::string installDirectory;
        if (!platform::ReadBrowserInstallDirectory(browser.key, platform::TextRule::AnyType, installDirectory))
            continue;
        const bool hasProgramFolder = IsFolder(remover_core::ProgramFolder(installDirectory));
        RemoveFiles(context, remover_core::NetscapePluginFiles(installDirectory, hasProgramFolder));
    }
}

void CleanOpera(RemovalContext& context) {
    std::string operaFolder;
    if (ReadValue(HKEY_LOCAL_MACHINE, kOperaKey, KEY_READ, "Path", operaFolder))
        RemoveFiles(context, remover_core::OperaPluginFiles(operaFolder));
}

void DeleteMozillaPluginEntry() {
    platform::RegistryKeyA plugins;
    if (plugins.Open(HKEY_LOCAL_MACHINE, kMozillaPluginsKey, platform::kReadWriteAccess) == ERROR_SUCCESS)
        plugins.DeleteKeyTree(kMozillaPluginId);
}

}  // namespace

void CleanBrowserPlugins(RemovalContext& context) {
    CleanNetscapeFamily(context);
    CleanOpera(context);
    DeleteMozillaPluginEntry();
}

}  // namespace remover
