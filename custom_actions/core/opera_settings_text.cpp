#include "custom_actions/core/opera_settings_text.h"

#include <utility>

#include "custom_actions/core/vrml_types.h"

namespace custom_actions_core {
namespace {

std::optional<std::wstring> Fitting(std::wstring text, std::size_t capacity) {
    if (text.size() >= capacity) return std::nullopt;
    return text;
}

}  // namespace

std::optional<std::wstring> ProgramFolderSettingsFile(std::wstring_view operaExecutable, std::size_t capacity) {
    const std::size_t slash = operaExecutable.rfind(L'\\');
    if (slash == std::wstring_view::npos) return std::nullopt;
    std::wstring path(operaExecutable.substr(0, slash + 1));
    path += L"opera6def.ini";
    return Fitting(std::move(path), capacity);
}

std::optional<std::wstring> ProfileSettingsFile(std::wstring_view appDataFolder, std::size_t capacity) {
    if (appDataFolder.empty()) return std::nullopt;
    std::wstring path(appDataFolder);
    if (path.back() != L'\\') path += L'\\';
    path += L"Opera\\Opera\\profile\\opera6.ini";
    return Fitting(std::move(path), capacity);
}

std::wstring PlugInModulePath(std::wstring_view appDir) { return std::wstring(appDir) + L"" MERIDEL_PLUGIN_MODULE; }

std::wstring VersionSuffix(std::uint32_t productVersionMs, std::uint32_t productVersionLs) {
    return L" (" + std::to_wstring(productVersionMs >> 16) + L", " + std::to_wstring(productVersionMs & 0xFFFF) +
           L", " + std::to_wstring(productVersionLs >> 16) + L", " + std::to_wstring(productVersionLs & 0xFFFF) +
           L")";
}

std::optional<std::wstring> OperaFileTypeValue(std::wstring_view modulePath, std::wstring_view versionSuffix,
                                               std::size_t capacity) {
    // A line break in the folder would add lines of its own to Opera's files.
    for (const wchar_t c : modulePath)
        if (c < L' ' || c == 0x7F) return std::nullopt;
    std::wstring value = L"6,,";
    value += modulePath;
    value += L"," MERIDEL_PRODUCT_NAME;
    // The extensions as Opera lists them: without the dot, comma-separated.
    for (const wchar_t* extension : kVrmlExtensions) {
        value += L',';
        value += extension + 1;
    }
    value += L"|Meridel Netscape Browser Plug-In";
    value += versionSuffix;
    return Fitting(std::move(value), capacity);
}

std::vector<OperaEntry> OperaEntries() {
    std::vector<OperaEntry> entries;
    for (const auto& [section, fileType] : {std::pair{L"File Types", true}, std::pair{L"File Types Extension", false}})
        for (const wchar_t* contentType : kVrmlContentTypes) entries.push_back({section, contentType, fileType});
    return entries;
}

}  // namespace custom_actions_core
