#include <windows.h>
#include <shellapi.h>

#include "custom_actions/actions.h"
#include "custom_actions/installer_session.h"
#include "platform/unique_resource.h"

using namespace custom_actions;

// Opens the readme with whatever the shell associates with its type; the
// installation goes on whether or not that works.
extern "C" UINT __stdcall ShowReadme(MSIHANDLE session) {
    return RunAction([&] {
        wchar_t path[kLaunchPropertyCapacity];
        if (ReadProperty(session, L"ReadmePath", path, kLaunchPropertyCapacity) != ERROR_SUCCESS) return;
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof(info);
        // A failure must not stop the installation on a message box of the shell's.
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpFile = path;
        info.nShow = SW_SHOWNORMAL;
        ::ShellExecuteExW(&info);
    });
}

// Starts the sample scene's command line without waiting for it; the program
// chooses its own window state.
extern "C" UINT __stdcall ShowScene(MSIHANDLE session) {
    return RunAction([&] {
        wchar_t commandLine[kLaunchPropertyCapacity];
        if (ReadProperty(session, L"ShowSceneCmd", commandLine, kLaunchPropertyCapacity) != ERROR_SUCCESS) return;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        // Not waited for; the handles are closed at once.
        if (::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
            platform::UniqueHandle process(started.hProcess);
            platform::UniqueHandle thread(started.hThread);
        }
    });
}
