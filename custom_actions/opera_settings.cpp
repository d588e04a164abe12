// Tells Opera that the product's plug-in handles the VRML content types, in
// the program folder's defaults file and in the user's profile file.
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "custom_actions/actions.h"
#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_identification.h"
#include "custom_actions/core/opera_settings_text.h"
#include "custom_actions/installer_session.h"

namespace {

using custom_actions_core::kOperaBufferCapacity;

bool FileFound(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Only the machine-wide registration counts: the defaults file serves every user.
std::optional<std::wstring> FindProgramFolderFile(wchar_t* buffer) {
    if (!ResolveBrowserExecutable(buffer, true, L"OPERA.EXE", kOperaBufferCapacity)) return std::nullopt;
    return custom_actions_core::ProgramFolderSettingsFile(buffer);
}

std::optional<std::wstring> FindProfileFile(wchar_t* buffer) {
    buffer[0] = L'\0';
    if (!::SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE)) return std::nullopt;
    auto path = custom_actions_core::ProfileSettingsFile(buffer);
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

void ConfigureOpera(MSIHANDLE session) {
    std::vector<wchar_t> buffer(kOperaBufferCapacity);
    const std::optional<std::wstring> settingsFiles[] = {FindProgramFolderFile(buffer.data()),
                                                         FindProfileFile(buffer.data())};
    if (!settingsFiles[0] && !settingsFiles[1]) return;

    if (ReadProperty(session, L"APPDIR", buffer.data(), kOperaBufferCapacity) != ERROR_SUCCESS || buffer[0] == L'\0')
        return;
    const std::wstring modulePath = custom_actions_core::PlugInModulePath(buffer.data());
    const auto value = custom_actions_core::OperaFileTypeValue(modulePath, PlugInVersionSuffix(modulePath));
    if (!value) return;
    for (const auto& file : settingsFiles)
        if (file) WriteOperaEntries(*file, *value);
}

}  // namespace

extern "C" UINT __stdcall MakeOperaHappy(MSIHANDLE session) {
    return RunAction([&] { ConfigureOpera(session); });
}
