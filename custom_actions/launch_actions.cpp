#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "custom_actions/actions.h"
#include "custom_actions/browser_discovery.h"
#include "custom_actions/core/open_command.h"
#include "custom_actions/installer_session.h"
#include "custom_actions/program_start.h"
#include "platform/registry_key.h"

using namespace custom_actions;

namespace {

constexpr wchar_t kUserClasses[] = L"Software\\Classes\\";

// The class of the user's own that the shell would pick for the document;
// Windows merges these over the machine's, Wine does not.
platform::RegistryKey OpenUserClass(const wchar_t* document) {
    platform::RegistryKey extension, userClass;
    const wchar_t* dotted = ::PathFindExtensionW(document);
    wchar_t className[MAX_PATH];
    DWORD count = MAX_PATH;
    if (dotted[0] == L'.' &&
        extension.Open(HKEY_CURRENT_USER, (kUserClasses + std::wstring(dotted)).c_str(), KEY_READ) == ERROR_SUCCESS &&
        extension.ReadStringValue(nullptr, className, count) == ERROR_SUCCESS && className[0] != L'\0')
        userClass.Open(HKEY_CURRENT_USER, (kUserClasses + std::wstring(className)).c_str(), KEY_READ);
    return userClass;
}

void OpenWithShell(const wchar_t* document) {
    const platform::RegistryKey userClass = OpenUserClass(document);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // A failure must not stop the installation on a message box of the shell's.
    info.fMask = SEE_MASK_FLAG_NO_UI | (userClass.valid() ? SEE_MASK_CLASSKEY : 0);
    info.hkeyClass = userClass.get();
    info.lpFile = document;
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExW(&info);
}

}  // namespace

// Opens the readme with whatever is associated with its type; the
// installation goes on whether or not that works. An elevated per-machine
// installation takes the association from the machine's classes alone.
extern "C" UINT __stdcall ShowReadme(MSIHANDLE session) {
    return RunAction([&] {
        wchar_t path[kLaunchPropertyCapacity];
        if (ReadProperty(session, L"ReadmePath", path, kLaunchPropertyCapacity) != ERROR_SUCCESS) return;
        if (!TakesMachineProgramsOnly(ReadInstallScope(session))) return OpenWithShell(path);
        wchar_t command[kLaunchPropertyCapacity];
        if (ReadMachineOpenCommand(::PathFindExtensionW(path), command, kLaunchPropertyCapacity))
            StartProgram(custom_actions_core::ComposeOpenCommand(command, path), true);
    });
}

// Starts the sample scene's command line without waiting for it; the program
// chooses its own window state.
extern "C" UINT __stdcall ShowScene(MSIHANDLE session) {
    return RunAction([&] {
        wchar_t commandLine[kLaunchPropertyCapacity];
        if (ReadProperty(session, L"ShowSceneCmd", commandLine, kLaunchPropertyCapacity) != ERROR_SUCCESS) return;
        StartProgram(commandLine, TakesMachineProgramsOnly(ReadInstallScope(session)));
    });
}
