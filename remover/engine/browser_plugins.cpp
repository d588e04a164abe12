#include "remover/engine/browser_plugins.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/product_constants.h"
#include "platform/unique_resource.h"
#include "remover/core/plugin_paths.h"
#include "remover/engine/key_tree.h"
#include "remover/engine/module_file.h"
#include "remover/engine/registry_text.h"

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
    platform::UniqueKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) return false;
    return ReadRegistryText(key.get(), valueName, out);
}

// The install folder that the browser's current version recorded.
bool ReadInstallDirectory(const char* browserKeyPath, std::string& installDirectory) {
    platform::UniqueKey browser;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, browserKeyPath, 0, KEY_READ, browser.put()) != ERROR_SUCCESS)
        return false;
    std::string version;
    if (!ReadRegistryText(browser.get(), "CurrentVersion", version)) return false;
    return ReadValue(browser.get(), version + "\\main", KEY_QUERY_VALUE, "Install Directory", installDirectory);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) RemoveModuleFile(path.c_str());
}

// A browser without a readable install folder is passed over; the others,
// Opera and the plug-in entry are still cleaned.
void CleanNetscapeFamily() {
    for (const char* browserKeyPath : kNetscapeFamilyKeys) {
        std::string installDirectory;
        if (!ReadInstallDirectory(browserKeyPath, installDirectory)) continue;
        const bool hasProgramFolder = IsFolder(remover_core::ProgramFolder(installDirectory));
        RemoveFiles(remover_core::NetscapePluginFiles(installDirectory, hasProgramFolder));
    }
}

void CleanOpera() {
    std::string operaFolder;
    if (ReadValue(HKEY_LOCAL_MACHINE, kOperaKey, KEY_READ, "Path", operaFolder))
        RemoveFiles(remover_core::OperaPluginFiles(operaFolder));
}

void DeleteMozillaPluginEntry() {
    platform::UniqueKey plugins;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMozillaPluginsKey, 0, KEY_READ | KEY_WRITE, plugins.put()) ==
        ERROR_SUCCESS)
        DeleteKeyTree(plugins.get(), kMozillaPluginId);
}

}  // namespace

void CleanBrowserPlugins() {
    CleanNetscapeFamily();
    CleanOpera();
    DeleteMozillaPluginEntry();
}

}  // namespace remover
