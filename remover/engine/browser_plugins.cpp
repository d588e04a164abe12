#include "remover/engine/browser_plugins.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/product_constants.h"
#include "platform/registry_key.h"
#include "remover/core/plugin_paths.h"
#include "remover/engine/module_file.h"

namespace remover {
namespace {

// The Netscape-family browsers, in the order they are cleaned.
constexpr const char* kNetscapeFamilyKeys[] = {
    "SOFTWARE\\Mozilla\\Mozilla Firefox",
    "SOFTWARE\\mozilla.org\\Mozilla",
    "SOFTWARE\\Netscape\\Netscape",
    "SOFTWARE\\Netscape\\Netscape 6",
    "SOFTWARE\\Netscape\\Netscape Navigator",
};

constexpr char kOperaKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
constexpr char kMozillaPluginsKey[] = "SOFTWARE\\MozillaPlugins";
constexpr char kMozillaPluginId[] = MERIDEL_MOZILLA_PLUGIN_ID;

bool ReadValue(HKEY root, const std::string& path, REGSAM access, const char* valueName, std::string& out) {
    platform::RegistryKeyA key;
    return key.Open(root, path.c_str(), access) == ERROR_SUCCESS && key.ReadText(valueName, out) == ERROR_SUCCESS;
}

// The install folder that the browser's current version recorded.
bool ReadInstallDirectory(const char* browserKeyPath, std::string& installDirectory) {
    platform::RegistryKeyA browser;
    if (browser.Open(HKEY_LOCAL_MACHINE, browserKeyPath, KEY_READ) != ERROR_SUCCESS) return false;
    std::string version;
    if (browser.ReadText("CurrentVersion", version) != ERROR_SUCCESS) return false;
    return ReadValue(browser.get(), version + "\\main", KEY_QUERY_VALUE, "Install Directory", installDirectory);
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
    for (const char* browserKeyPath : kNetscapeFamilyKeys) {
        std::string installDirectory;
        if (!ReadInstallDirectory(browserKeyPath, installDirectory)) continue;
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
