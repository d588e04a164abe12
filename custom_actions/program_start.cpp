#include "custom_actions/program_start.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "custom_actions/core/browser_command.h"
#include "custom_actions/final_location.h"
#include "platform/final_path.h"
#include "platform/split_token.h"
#include "platform/unique_resource.h"

namespace custom_actions {
namespace {

constexpr std::size_t kPathCapacity = 32767;
// Folders that a standard user's processes can write: the user's own (the
// application-data folders may be redirected out of the profile) and the
// shared ones in which every user may make folders and files.
constexpr int kUserFolders[] = {CSIDL_PROFILE, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA,
                                CSIDL_COMMON_DOCUMENTS};
constexpr wchar_t kLongPrefix[] = L"\\\\?\\";

bool LiesInUserFolder(const std::wstring& finalProgram) {
    for (int folderId : kUserFolders) {
        wchar_t folder[MAX_PATH] = L"";
        if (!::SHGetSpecialFolderPathW(nullptr, folder, folderId, FALSE) || folder[0] == L'\0') continue;
        // A folder of the user's that cannot be resolved could be anywhere.
        const std::optional<std::wstring> finalFolder = FinalPath(folder, kPathCapacity);
        if (!finalFolder || LiesInside(finalProgram, *finalFolder)) return true;
    }
    return false;
}

// "C:\..." for "\\?\C:\..."; other final paths as they are.
std::wstring StartablePath(const std::wstring& finalPath) {
    const std::size_t prefix = sizeof(kLongPrefix) / sizeof(wchar_t) - 1;
    if (finalPath.compare(0, prefix, kLongPrefix) == 0 && finalPath.size() > prefix + 2 &&
        finalPath[prefix + 1] == L':')
        return finalPath.substr(prefix);
    return finalPath;
}

void Start(const wchar_t* program, std::wstring& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    // Not waited for; the handles are closed at once.
    if (::CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &started)) {
        platform::UniqueHandle process(started.hProcess);
        platform::UniqueHandle thread(started.hThread);
    }
}

}  // namespace

bool TakesMachineProgramsOnly(InstallScope scope) {
    return scope == InstallScope::kPerMachine && platform::RunsWithFullSplitToken();
}

void StartProgram(std::wstring commandLine, bool machineProgramsOnly) {
    if (!machineProgramsOnly) return Start(nullptr, commandLine);
    const std::wstring program = custom_actions_core::ExtractExecutable(commandLine);
    // Held without sharing writes or deletion: the file checked is the file started.
    const platform::UniqueFile file(::CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::wstring finalProgram;
    if (!file || platform::QueryFinalPath(file.get(), finalProgram, kPathCapacity) != platform::FinalPathStatus::Read ||
        LiesInUserFolder(finalProgram))
        return;
    Start(StartablePath(finalProgram).c_str(), commandLine);
}

}  // namespace custom_actions
