#pragma once
// Paths composed from registered install folders.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace custom_actions_core {

// Buffers of browser discovery, in characters with the terminator.
constexpr std::size_t kDiscoveryPathCapacity = 260;

// Chrome's executable in its install location; nothing when it does not fit.
std::optional<std::wstring> ComposeChromePath(std::wstring_view installLocation,
                                              std::size_t capacity = kDiscoveryPathCapacity);

struct PluginFolders {
    std::wstring plugins;     // NSPLUGIN_DIR
    std::wstring components;  // NSCOMP_DIR
};

// The plug-in and component folders below a Netscape-family install folder,
// with or without its trailing backslash. Nothing for an empty folder or one
// that, with its backslash, does not fit the capacity.
std::optional<PluginFolders> ComposePluginFolders(std::wstring_view installDirectory,
                                                  std::size_t capacity = kDiscoveryPathCapacity);

}  // namespace custom_actions_core
