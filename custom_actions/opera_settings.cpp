#include "custom_actions/opera_settings.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_identification.h"
#include "custom_actions/core/opera_settings_text.h"

namespace custom_actions {
namespace {

using custom_actions_core::kOperaBufferCapacity;

bool FileFound(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Only the machine-wide registration counts: the defaults file serves every user.
std::optional<std::wstring> FindProgramFolderFile() {
    std::vector<wchar_t> executable(kOperaBufferCapacity);
    if (!ResolveBrowserExecutable(executable.data(), InstallScope::kPerMachine, L"OPERA.EXE", kOperaBufferCapacity))
        return std::nullopt;
    return custom_actions_core::ProgramFolderSettingsFile(executable.data());
}

std::optional<std::wstring> FindProfileFile() {
    std::vector<wchar_t> appData(kOperaBufferCapacity);
    if (!::SHGetSpecialFolderPathW(nullptr, appData.data(), CSIDL_APPDATA, FALSE)) return std::nullopt;
    auto path = custom_actions_core::ProfileSettingsFile(appData.data());
    if (!path || !FileFound(*path)) return std::nullopt;
    return path;
}

std::wstring PlugInVersionSuffix(const std::wstring& modulePath) {
    VS_FIXEDFILEINFO fixed{};
    if (!ReadFixedVersion(modulePath.c_str(), fixed)) return std::wstring();
    return custom_actions_core::VersionSuffix(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
}

void WriteOperaEntries(const std::wstring& settingsFile, const std::wstring& fileTypeValue) {
    for (const auto& entry : custom_actions_core::OperaEntries())
        ::WritePrivateProfileStringW(entry.section, entry.key,
                                     entry.fileType ? fileTypeValue.c_str() : custom_actions_core::kOperaExtensionValue,
                                     settingsFile.c_str());
}

}  // namespace

void ConfigureOpera(const wchar_t* appDir) {
    const std::optional<std::wstring> settingsFiles[] = {FindProgramFolderFile(), FindProfileFile()};
    if (!settingsFiles[0] && !settingsFiles[1]) return;

    const std::wstring modulePath = custom_actions_core::PlugInModulePath(appDir);
    const auto value = custom_actions_core::OperaFileTypeValue(modulePath, PlugInVersionSuffix(modulePath));
    if (!value) return;
    for (const auto& file : settingsFiles)
        if (file) WriteOperaEntries(*file, *value);
}

}  // namespace custom_actions
