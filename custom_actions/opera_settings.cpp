#include "custom_actions/opera_settings.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "custom_actions/browser_discovery.h"
#include "custom_actions/browser_identification.h"
#include "custom_actions/core/opera_settings_text.h"
#include "custom_actions/core/settings_text.h"
#include "custom_actions/final_location.h"
#include "platform/final_path.h"
#include "platform/split_token.h"
#include "platform/unique_resource.h"

namespace custom_actions {
namespace {

using custom_actions_core::kOperaBufferCapacity;

// Opera's settings files are a few kilobytes; a larger one is left alone.
constexpr DWORD kMaxSettingsBytes = 1024 * 1024;

bool FileFound(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Only the machine-wide registration counts: the defaults file serves every user.
std::optional<std::wstring> FindProgramFolderFile() {
    std::vector<wchar_t> executable(kOperaBufferCapacity);
    if (!ResolveBrowserExecutable(executable.data(), InstallScope::kPerMachine, L"OPERA.EXE", kOperaBufferCapacity))
        return std::nullopt;
    return custom_actions_core::ProgramFolderSettingsFile(executable.data());
}

struct ProfileFile {
    std::wstring path;
    std::wstring appData;
};

std::optional<ProfileFile> FindProfileFile() {
    std::vector<wchar_t> appData(kOperaBufferCapacity);
    if (!::SHGetSpecialFolderPathW(nullptr, appData.data(), CSIDL_APPDATA, FALSE)) return std::nullopt;
    auto path = custom_actions_core::ProfileSettingsFile(appData.data());
    if (!path || !FileFound(*path)) return std::nullopt;
    return ProfileFile{*path, appData.data()};
}

std::wstring PlugInVersionSuffix(const std::wstring& modulePath) {
    VS_FIXEDFILEINFO fixed{};
    if (!ReadFixedVersion(modulePath.c_str(), fixed)) return std::wstring();
    return custom_actions_core::VersionSuffix(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
}

std::vector<custom_actions_core::SettingsEntry> SettingsEntries(const std::wstring& fileTypeValue) {
    std::vector<custom_actions_core::SettingsEntry> entries;
    for (const auto& entry : custom_actions_core::OperaEntries())
        entries.push_back({entry.section, entry.key,
                           entry.fileType ? std::wstring_view(fileTypeValue)
                                          : std::wstring_view(custom_actions_core::kOperaExtensionValue)});
    return entries;
}

void WriteOperaEntries(const std::wstring& settingsFile, const std::wstring& fileTypeValue) {
    for (const auto& entry : SettingsEntries(fileTypeValue))
        ::WritePrivateProfileStringW(std::wstring(entry.section).c_str(), std::wstring(entry.key).c_str(),
                                     std::wstring(entry.value).c_str(), settingsFile.c_str());
}

// The file's text: UTF-16 after its byte-order mark, otherwise the system code
// page (as the profile functions read it). A text that the code page cannot
// hold exactly is not written.
std::optional<std::wstring> DecodeSettings(const std::string& bytes, bool& utf16) {
    utf16 = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    if (utf16) return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    if (bytes.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::optional<std::string> EncodeSettings(const std::wstring& text, bool utf16) {
    if (utf16)
        return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    BOOL lossy = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, &lossy);
    if (lossy) return std::nullopt;
    return bytes;
}

// An elevated installer shares the user's profile with the user's own
// processes, which can swap a folder on the way for a link at any moment: the
// file is opened once, its final path checked to lie inside Application Data,
// and then read and written through that same handle only.
void WriteCheckedProfile(const ProfileFile& profile, const std::wstring& fileTypeValue) {
    const platform::UniqueFile file(::CreateFileW(profile.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::wstring finalFile;
    if (!file || platform::QueryFinalPath(file.get(), finalFile, kOperaBufferCapacity - 1) !=
                     platform::FinalPathStatus::Read)
        return;
    const std::optional<std::wstring> finalFolder = FinalPath(profile.appData, kOperaBufferCapacity - 1);
    if (!finalFolder || !LiesInside(finalFile, *finalFolder)) return;

    const DWORD size = ::GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxSettingsBytes) return;
    std::string bytes(size, '\0');
    DWORD read = 0;
    if (size > 0 && (!::ReadFile(file.get(), bytes.data(), size, &read, nullptr) || read != size)) return;
    bool utf16 = false;
    const std::optional<std::wstring> text = DecodeSettings(bytes, utf16);
    if (!text) return;
    const std::optional<std::string> changed =
        EncodeSettings(custom_actions_core::SetSettingsEntries(*text, SettingsEntries(fileTypeValue)), utf16);
    if (!changed || ::SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return;
    DWORD written = 0;
    if (::WriteFile(file.get(), changed->data(), static_cast<DWORD>(changed->size()), &written, nullptr))
        ::SetEndOfFile(file.get());
}

}  // namespace

void ConfigureOpera(const wchar_t* appDir) {
    const std::optional<std::wstring> programFolderFile = FindProgramFolderFile();
    const std::optional<ProfileFile> profile = FindProfileFile();
    if (!programFolderFile && !profile) return;

    const std::wstring modulePath = custom_actions_core::PlugInModulePath(appDir);
    const auto value = custom_actions_core::OperaFileTypeValue(modulePath, PlugInVersionSuffix(modulePath));
    if (!value) return;
    if (programFolderFile) WriteOperaEntries(*programFolderFile, *value);
    if (!profile) return;
    // Unelevated, a link of the user's leads where the user may write anyway.
    if (platform::RunsWithFullSplitToken())
        WriteCheckedProfile(*profile, *value);
    else
        WriteOperaEntries(profile->path, *value);
}

}  // namespace custom_actions
