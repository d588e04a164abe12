#include "custom_actions/core/browser_paths.h"

namespace custom_actions_core {

std::optional<std::wstring> ComposeChromePath(std::wstring_view installLocation, std::size_t capacity) {
    std::wstring path(installLocation);
    path += L"\\chrome.exe";
    if (path.size() >= capacity) return std::nullopt;
    return path;
}

std::optional<PluginFolders> ComposePluginFolders(std::wstring_view installDirectory, std::size_t capacity) {
    if (installDirectory.empty()) return std::nullopt;
    std::wstring folder(installDirectory);
    if (folder.back() != L'\\') folder += L'\\';
    if (folder.size() >= capacity) return std::nullopt;
    return PluginFolders{folder + L"Plugins\\", folder + L"Components\\"};
}

}  // namespace custom_actions_core
