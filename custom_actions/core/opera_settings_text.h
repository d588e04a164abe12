#pragma once
// What the product writes into Opera's settings files, and where they lie.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace custom_actions_core {

// The Opera action's work buffer, in characters with the terminator.
constexpr std::size_t kOperaBufferCapacity = 2048;

// "opera6def.ini" in the folder of Opera's executable; nothing when the path
// holds no backslash or the result does not fit.
std::optional<std::wstring> ProgramFolderSettingsFile(std::wstring_view operaExecutable,
                                                      std::size_t capacity = kOperaBufferCapacity);

// The user's "opera6.ini" below the roaming application-data folder; nothing
// for an empty folder or a result that does not fit.
std::optional<std::wstring> ProfileSettingsFile(std::wstring_view appDataFolder,
                                                std::size_t capacity = kOperaBufferCapacity);

// The plug-in module in the installation folder, joined without a separator.
std::wstring PlugInModulePath(std::wstring_view appDir);

// " (a, b, c, d)" from the module's product version words.
std::wstring VersionSuffix(std::uint32_t productVersionMs, std::uint32_t productVersionLs);

// The "File Types" value; nothing when it does not fit the capacity or the
// module path holds a control character (a CR or LF would start a line).
std::optional<std::wstring> OperaFileTypeValue(std::wstring_view modulePath, std::wstring_view versionSuffix,
                                               std::size_t capacity = kOperaBufferCapacity);

struct OperaEntry {
    const wchar_t* section;
    const wchar_t* key;
    bool fileType;  // the file-type value; otherwise the extension flag ",0"
};

// The six entries in the order they are written: the file-type value of each
// VRML content type, then its extension flag.
std::vector<OperaEntry> OperaEntries();
constexpr wchar_t kOperaExtensionValue[] = L",0";

}  // namespace custom_actions_core
