#include "custom_actions/opera_settings.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_identification.h"
#include "custom_actions/core/opera_settings_text.h"
#include "platform/final_path.h"

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

// The path the file system resolves an existing file or folder to; nullopt
// where it cannot be read, and the path itself on systems without the call.
std::optional<std::wstring> FinalPath(const std::wstring& path) {
    std::wstring finalPath;
    switch (platform::QueryFinalPath(path, finalPath, kOperaBufferCapacity - 1)) {
        case platform::FinalPathStatus::Read:
            return finalPath;
        case platform::FinalPathStatus::NoSuchCall:
            return path;
        case platform::FinalPathStatus::Unreadable:
        case platform::FinalPathStatus::TooLong:
            break;
    }
    return std::nullopt;
}

// The installer may run with more rights than the user: the user's settings
// file is written only where it lies, after every link, inside the user's
// Application Data folder, never where a link of the user's leads.
bool LiesInsideAfterLinks(const std::wstring& file, const std::wstring& folder) {
    const std::optional<std::wstring> finalFile = FinalPath(file), finalFolder = FinalPath(folder);
    if (!finalFile || !finalFolder) return false;
    std::wstring prefix = *finalFolder;
    if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
    return finalFile->size() > prefix.size() &&
           ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, finalFile->c_str(), static_cast<int>(prefix.size()),
                            prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

std::optional<std::wstring> FindProfileFile() {
    std::vector<wchar_t> appData(kOperaBufferCapacity);
    if (!::SHGetSpecialFolderPathW(nullptr, appData.data(), CSIDL_APPDATA, FALSE)) return std::nullopt;
    auto path = custom_actions_core::ProfileSettingsFile(appData.data());
    if (!path || !FileFound(*path) || !LiesInsideAfterLinks(*path, appData.data())) return std::nullopt;
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
