#include "remover/core/plugin_paths.h"

#include "platform/product_constants.h"

namespace remover_core {
namespace {

enum class NetscapeFolder { Plugins, Components };

struct PluginFile {
    NetscapeFolder folder;
    const char* name;
};

constexpr PluginFile kNetscapeFiles[] = {
    {NetscapeFolder::Plugins, MERIDEL_PLUGIN_MODULE},
    {NetscapeFolder::Plugins, MERIDEL_PLUGIN_CLASS_ARCHIVE},
    {NetscapeFolder::Components, MERIDEL_PLUGIN_TYPE_LIBRARY},
};

constexpr const char* kOperaFiles[] = {
    "\\PlugIns\\" MERIDEL_PLUGIN_MODULE,
    "\\PlugIns\\" MERIDEL_PLUGIN_CLASS_ARCHIVE,
    "\\Program\\PlugIns\\" MERIDEL_PLUGIN_MODULE,
    "\\Program\\PlugIns\\" MERIDEL_PLUGIN_CLASS_ARCHIVE,
};

}  // namespace

std::string InstallFolder(std::string_view installDirectory) {
    std::string folder(installDirectory);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ProgramFolder(std::string_view installDirectory) {
    return InstallFolder(installDirectory) + "Program";
}

std::vector<std::string> NetscapePluginFiles(std::string_view installDirectory, bool hasProgramFolder) {
    const std::string install = InstallFolder(installDirectory);
    const std::string plugins = install + (hasProgramFolder ? "Program\\Plugins\\" : "Plugins\\");
    const std::string components = install + "Components\\";
    std::vector<std::string> files;
    for (const PluginFile& file : kNetscapeFiles)
        files.push_back((file.folder == NetscapeFolder::Plugins ? plugins : components) + file.name);
    return files;
}

std::vector<std::string> OperaPluginFiles(std::string_view operaFolder) {
    std::vector<std::string> files;
    for (const char* suffix : kOperaFiles) files.push_back(std::string(operaFolder) + suffix);
    return files;
}

}  // namespace remover_core
